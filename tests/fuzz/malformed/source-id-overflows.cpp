yuto.say(99999999999, "x");
sakura.say(-2147483649, "y");
