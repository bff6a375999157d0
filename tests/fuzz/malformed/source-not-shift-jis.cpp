yuto.say(1, "おはよう");
