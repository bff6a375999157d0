yuto.say();
yuto.say(
sakura.say(1
