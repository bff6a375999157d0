hero.say(1, "a");
