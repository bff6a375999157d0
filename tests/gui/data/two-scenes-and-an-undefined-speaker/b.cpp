sakura.say(2, "b");
ghost.say(4, "c");
