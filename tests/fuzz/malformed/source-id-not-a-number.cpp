yuto.say(abc, "x");
sakura.say(, "y");
