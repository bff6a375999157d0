yuto.say(1, "x");
‚