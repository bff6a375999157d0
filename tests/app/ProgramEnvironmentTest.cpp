#include "app/ProgramEnvironment.h"

#include "platform/Clock.h"
#include "platform/ProgramFolders.h"
#include "platform/ScriptedPrompt.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"

#include <gtest/gtest.h>
#include <string>

namespace {

class FixedClock : public Clock {
public:
    std::time_t now() const override { return 1234; }
};

// The parts a test hands its environment.
struct Parts {
    ScriptedDialogHost dialogs{true};
    ScriptedProgressView progress;
    ScriptedPrompt prompt;
    FixedClock clock;
};

} // namespace

TEST(ProgramEnvironmentTest, HandsOutThePartsItWasMadeWith)
{
    Parts parts;
    ProgramEnvironment environment({.dialogs = parts.dialogs,
                                    .progress = parts.progress,
                                    .prompt = parts.prompt,
                                    .clock = parts.clock});
    EXPECT_EQ(&environment.progressView(), &parts.progress);
    EXPECT_EQ(&environment.prompt(), &parts.prompt);
    EXPECT_EQ(environment.clock().now(), 1234);

    // Notices reach the host, an empty title as the program's own.
    environment.notices().notice("text");
    EXPECT_TRUE(environment.notices().question("q?", "title"));
    ASSERT_EQ(parts.dialogs.notices().size(), 1u);
    EXPECT_EQ(parts.dialogs.notices()[0].title, UxDialogs::DefaultTitle);
    ASSERT_EQ(parts.dialogs.questions().size(), 1u);
    EXPECT_EQ(parts.dialogs.questions()[0].title, "title");
}

TEST(ProgramEnvironmentTest, ItsPromptAndProgramFolderHoldWhileItLives)
{
    const std::string folderBefore = ProgramFolders::programFolder();
    Prompt& promptBefore = Prompt::current();
    Parts outer, inner;
    {
        ProgramEnvironment program({.dialogs = outer.dialogs,
                                    .progress = outer.progress,
                                    .prompt = outer.prompt,
                                    .clock = outer.clock,
                                    .programFolder = "/tmp/quillon-environment"});
        EXPECT_EQ(&Prompt::current(), &outer.prompt);
        EXPECT_EQ(ProgramFolders::programFolder(), "/tmp/quillon-environment/");
        {
            // A second environment without a folder keeps the one in force.
            ProgramEnvironment nested({.dialogs = inner.dialogs,
                                       .progress = inner.progress,
                                       .prompt = inner.prompt,
                                       .clock = inner.clock});
            EXPECT_EQ(&Prompt::current(), &inner.prompt);
            EXPECT_EQ(ProgramFolders::programFolder(), "/tmp/quillon-environment/");
        }
        EXPECT_EQ(&Prompt::current(), &outer.prompt);
    }
    EXPECT_EQ(&Prompt::current(), &promptBefore);
    EXPECT_EQ(ProgramFolders::programFolder(), folderBefore);
}
