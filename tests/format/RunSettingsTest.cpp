#include "format/RunSettings.h"

#include "format/OutputDevice.h"
#include "format/SuppressedCharacters.h"

#include <gtest/gtest.h>

TEST(OutputDeviceTest, StoredNumbersReadAsThePageWriterAlwaysHas)
{
    const struct {
        int32_t stored;
        OutputDevice device;
    } cases[] = {
        {0, OutputDevice::Printer},  {1, OutputDevice::Bmp},
        {2, OutputDevice::Png},      {3, OutputDevice::Pdf},
        {4, OutputDevice::Bmp},      {INT32_MAX, OutputDevice::Bmp},
        {-1, OutputDevice::Printer}, {INT32_MIN, OutputDevice::Printer},
    };
    for (const auto& c : cases)
        EXPECT_EQ(outputDeviceOf(c.stored), c.device) << c.stored;
    for (OutputDevice device :
         {OutputDevice::Printer, OutputDevice::Bmp, OutputDevice::Png, OutputDevice::Pdf})
        EXPECT_EQ(outputDeviceOf(storedNumberOf(device)), device);
    EXPECT_EQ(storedNumberOf(OutputDevice::Pdf), 3);
    EXPECT_FALSE(writesFiles(OutputDevice::Printer));
    EXPECT_TRUE(writesFiles(OutputDevice::Bmp));
    EXPECT_TRUE(writesFiles(OutputDevice::Png));
    EXPECT_TRUE(writesFiles(OutputDevice::Pdf));
}

TEST(RunSettingsTest, SwitchesKeepTheirBitsAndTheDestinationFallsBack)
{
    RunSettings run;
    EXPECT_EQ(run.switches(), RunSettings::PrintLog | RunSettings::CommentEmphasis);
    run.setSwitches(0xFFFFFFFFu);
    EXPECT_EQ(run.switches(), RunSettings::SwitchMask) << "other bits are no switches";
    EXPECT_EQ(run.printerOptions(), RunSettings::GenericScript | RunSettings::CommentEmphasis);
    run.setPrintLog(false);
    EXPECT_FALSE(run.printLog());
    EXPECT_TRUE(run.genericScript());

    const FCString scenario("/s/");
    EXPECT_EQ(run.destinationOr(scenario).toStdString(), "/s/");
    run.destinationFolder = FCString("/d/");
    EXPECT_EQ(run.destinationOr(scenario).toStdString(), "/d/");
}

TEST(RunSettingsTest, AFormatsFlagsBecomeTheSwitchesOfTheSameMeaning)
{
    using F = PrintFormat;
    using R = RunSettings;
    const struct {
        uint32_t flags;
        uint32_t switches;
    } cases[] = {
        {0, 0},
        {F::FlagLog, R::PrintLog},
        {F::FlagGeneric, R::GenericScript},
        {F::FlagCommentEmphasis, R::CommentEmphasis},
        {F::FlagLog | F::FlagCommentEmphasis, R::PrintLog | R::CommentEmphasis},
        {F::FlagAutoCalc | 0x80000000u | 8u, 0},
        {0xFFFFFFFFu, R::SwitchMask},
    };
    for (const auto& c : cases)
        EXPECT_EQ(R::switchesOfFormatFlags(c.flags), c.switches) << std::hex << c.flags;

    RunSettings run;
    run.setSwitches(R::switchesOfFormatFlags(F().flags()));
    EXPECT_TRUE(run.printLog()) << "a new format logs";
    EXPECT_FALSE(run.genericScript());
    EXPECT_FALSE(run.commentEmphasis());
}

TEST(SuppressedCharactersTest, OneNamePerLineWithoutEmptyNames)
{
    SuppressedCharacters suppressed;
    EXPECT_FALSE(suppressed.contains(""));
    suppressed.rebuild("A\n\nB C\nD");
    EXPECT_EQ(suppressed.count(), 3);
    EXPECT_TRUE(suppressed.contains("B C"));
    EXPECT_TRUE(suppressed.contains("D"));
    EXPECT_FALSE(suppressed.contains("B"));
    EXPECT_FALSE(suppressed.contains(""));
    suppressed.rebuild("");
    EXPECT_EQ(suppressed.count(), 0);
}
