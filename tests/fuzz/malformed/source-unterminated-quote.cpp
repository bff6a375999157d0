void s()
{
    yuto.say(1, "•Â‚¶‚È‚¢);
    sakura.say(2, "‚Í‚¢");
}
