hero.say(6, "ã‚ utf-8 ÿş");
hero.say(7, "€ ");
