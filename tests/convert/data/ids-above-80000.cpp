hero.say(79999, "‹«ŠE‚Ì‰º");
hero.say(80000, "‹«ŠE");
hero.say(2147483647, "Å‘å");
hero.say(2147483646, "Å‘å‚Ìè‘O");
hero.say(2147483647, "Å‘å‚Ó‚½‚½‚Ñ");
hero.say(0x7ffffffe, "\˜Zi");
