// 第一話 冒頭
//; 朝の教室
// ！ 雨が降っている
// EV012a.png
// ev013b
// 環境BG02
// BG
// EVENT表示
void scene01()
{
    hero.enter();
    hero.say(120, "こんにちは");
    　　sakura.say(121, "看板", "いらっしゃい");
    // hero.say(999, "消えた台詞");
    hero.fadeOut();
    hero.fadeOutCg();
    BLOCK_ENTRY(7);
    hero.say(1234567, "長いID");
    BLOCK_ELSE();
    CMD_SETBLOCK(7);
    hero.initQuestion();
    hero.prepareQuestion("行く");
    hero.prepareQuestion("行かない");
    hero.initQuestion();
    hero.prepareQuestion("もう一度");
    se.playEffect(3, 15);
    se.enterEffect(8);
    se.playLoopEffect(9); // 雨音
    se.enterLoopEffect(-1);
    hero.entry("scene02");
    hero.changeRequest("scene03");
    hero.say(MESSAGEID, "未定");
    hero.say(-5, "システム");
    ghost.say(130, "誰？");
    hero.leave();
}
