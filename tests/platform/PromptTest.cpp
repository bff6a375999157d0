#include "platform/HeadlessPrompt.h"
#include "platform/ScriptedPrompt.h"
#include "platform/SilentPrompt.h"

#include <gtest/gtest.h>
#include <thread>

using Answer = Prompt::Answer;
using Buttons = Prompt::Buttons;

TEST(ScriptedPromptTest, AnswersFromItsScriptAndRecordsEveryQuestion)
{
    ScriptedPrompt prompt{Answer::Retry, Answer::Cancel};
    EXPECT_EQ(prompt.ask("FCFile - open", "a", Buttons::RetryCancel), Answer::Retry);
    EXPECT_EQ(prompt.ask("FCFile - open", "b", Buttons::RetryCancel), Answer::Cancel);
    ASSERT_EQ(prompt.questions().size(), 2u);
    EXPECT_EQ(prompt.questions()[0].title, "FCFile - open");
    EXPECT_EQ(prompt.questions()[0].text, "a");
    EXPECT_EQ(prompt.questions()[1].text, "b");
    EXPECT_EQ(prompt.questions()[1].buttons, Buttons::RetryCancel);
}

TEST(ScriptedPromptTest, AnswersAsNobodyIsThereOnceTheScriptRunsOut)
{
    ScriptedPrompt prompt;
    prompt.push(Answer::Yes);
    EXPECT_EQ(prompt.ask("t", "x", Buttons::YesNo), Answer::Yes);
    EXPECT_EQ(prompt.ask("t", "x", Buttons::YesNo), Answer::No);
    EXPECT_EQ(prompt.ask("t", "x", Buttons::RetryCancel), Answer::Cancel);
    EXPECT_EQ(prompt.ask("t", "x", Buttons::Ok), Answer::Ok);
    EXPECT_EQ(prompt.questions().size(), 4u);
}

TEST(PromptTest, ScopeInstallsAPromptAndRestoresThePreviousOne)
{
    Prompt& headless = Prompt::current();
    ScriptedPrompt outer;
    {
        Prompt::Scope outerScope(outer);
        EXPECT_EQ(&Prompt::current(), &outer);
        ScriptedPrompt inner{Answer::Yes};
        {
            Prompt::Scope innerScope(inner);
            EXPECT_EQ(Prompt::current().ask("t", "q", Buttons::YesNo), Answer::Yes);
        }
        EXPECT_EQ(&Prompt::current(), &outer);
        EXPECT_TRUE(outer.questions().empty());
        EXPECT_EQ(inner.questions().size(), 1u);
    }
    EXPECT_EQ(&Prompt::current(), &headless);
}

TEST(HeadlessPromptTest, NeverAgreesToAnything)
{
    EXPECT_EQ(HeadlessPrompt::defaultAnswer(Buttons::RetryCancel), Answer::Cancel);
    EXPECT_EQ(HeadlessPrompt::defaultAnswer(Buttons::YesNo), Answer::No);
    EXPECT_EQ(HeadlessPrompt::defaultAnswer(Buttons::Ok), Answer::Ok);
    testing::internal::CaptureStderr();
    HeadlessPrompt prompt;
    EXPECT_EQ(prompt.ask("FCFile - open", "\x91\xE4\x96\x7B", Buttons::RetryCancel),
              Answer::Cancel);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "FCFile - open: 台本\n");
}

TEST(PromptTest, AThreadScopeAnswersForItsThreadAlone)
{
    ScriptedPrompt process;
    Prompt::Scope processScope(process);
    SilentPrompt silent;
    Prompt* elsewhere = nullptr;
    {
        Prompt::ThreadScope quiet(silent);
        EXPECT_EQ(&Prompt::current(), &silent);
        std::thread([&] { elsewhere = &Prompt::current(); }).join();
    }
    EXPECT_EQ(elsewhere, &process);
    EXPECT_EQ(&Prompt::current(), &process);
}

TEST(SilentPromptTest, GivesUpOnEveryQuestionAndRemembersItWasAsked)
{
    for (auto [buttons, answer] :
         {std::pair{Buttons::RetryCancel, Answer::Cancel}, std::pair{Buttons::YesNo, Answer::No},
          std::pair{Buttons::Ok, Answer::Ok}}) {
        SilentPrompt prompt;
        EXPECT_FALSE(prompt.asked());
        EXPECT_EQ(prompt.ask("FCFile - open", "a", buttons), answer);
        EXPECT_TRUE(prompt.asked());
    }
}
