#include "gui/QtTranslations.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Texts of Qt's own that a user of the program meets: the folder browser,
// the standard buttons and the text fields' context menu.
struct QtText {
    const char* context;
    const char* source;
};
constexpr QtText qtTexts[] = {
    {"QFileDialog", "Look in:"},     {"QFileDialog", "&Choose"}, {"QPlatformTheme", "Cancel"},
    {"QWidgetTextControl", "&Copy"}, {"QLineEdit", "&Paste"},
};

QString translated(const QtText& text)
{
    return QCoreApplication::translate(text.context, text.source);
}

bool hasJapanese(const QString& text)
{
    for (const QChar c : text) {
        // Hiragana, katakana and the CJK ideographs.
        if (c.unicode() >= 0x3040 && c.unicode() <= 0x9fff)
            return true;
    }
    return false;
}

// The test needs Qt's Japanese catalogue, which the translations package
// brings; without it there is nothing to test.
#define SKIP_WITHOUT_JAPANESE_CATALOGUE()                                                          \
    do {                                                                                           \
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);                 \
        if (!QFile::exists(folder + "/qtbase_ja.qm"))                                              \
            GTEST_SKIP() << "qtbase_ja.qm is not in " << folder.toStdString()                      \
                         << ": install qt6-translations-l10n (scripts/install-deps.sh)";           \
    } while (false)

} // namespace

TEST(QtTranslationsTest, AJapaneseLocaleGetsQtsTextsInJapaneseUntilTheObjectGoes)
{
    SKIP_WITHOUT_JAPANESE_CATALOGUE();
    {
        QtTranslations translations;
        ASSERT_TRUE(translations.install(QLocale(QLocale::Japanese, QLocale::Japan)));
        for (const QtText& text : qtTexts)
            EXPECT_TRUE(hasJapanese(translated(text)))
                << text.context << " " << text.source << ": " << translated(text).toStdString();
    }
    for (const QtText& text : qtTexts)
        EXPECT_EQ(translated(text), QString::fromLatin1(text.source)) << text.source;
}

TEST(QtTranslationsTest, EnglishLocalesAndLocalesWithoutACatalogueKeepQtsEnglishTexts)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    const struct {
        QLocale locale;
        QString folder;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates),
         QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
        {QLocale(QLocale::English, QLocale::UnitedKingdom),
         QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
        {QLocale::c(), QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
        {QLocale(QLocale::Japanese, QLocale::Japan), empty.path()},
    };
    for (const auto& c : cases) {
        QtTranslations translations(c.folder);
        EXPECT_FALSE(translations.install(c.locale)) << c.locale.name().toStdString();
        for (const QtText& text : qtTexts)
            EXPECT_EQ(translated(text), QString::fromLatin1(text.source)) << text.source;
    }
}

TEST(QtTranslationsTest, AnotherLocaleReplacesTheCatalogueInstalledBefore)
{
    SKIP_WITHOUT_JAPANESE_CATALOGUE();
    QtTranslations translations;
    ASSERT_TRUE(translations.install(QLocale(QLocale::Japanese, QLocale::Japan)));
    EXPECT_FALSE(translations.install(QLocale(QLocale::English, QLocale::UnitedStates)));
    for (const QtText& text : qtTexts)
        EXPECT_EQ(translated(text), QString::fromLatin1(text.source)) << text.source;
}

TEST(QtTranslationsTest, TheFolderBrowserSpeaksJapanese)
{
    SKIP_WITHOUT_JAPANESE_CATALOGUE();
    QtTranslations translations;
    ASSERT_TRUE(translations.install(QLocale(QLocale::Japanese, QLocale::Japan)));
    QFileDialog browser(nullptr, QString(), QDir::tempPath());
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setFileMode(QFileDialog::Directory);
    auto* lookIn = browser.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    ASSERT_NE(lookIn, nullptr);
    EXPECT_TRUE(hasJapanese(lookIn->text())) << lookIn->text().toStdString();
}
