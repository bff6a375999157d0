yuto.say(1, "‚");
sakura.say(2, "x");
