#include "gui/PrintSettingsDialog.h"

#include "FormChecks.h"
#include "GuiTestSupport.h"
#include "LabelledControls.h"
#include "app/PrintSettingsDialogModel.h"
#include "format/RunSettings.h"
#include "gui/FileChoosers.h"
#include "gui/ListView.h"
#include "gui/QtText.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/UxDialogs.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <optional>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

FCString cp932(const char* utf8)
{
    return FCString(toCp932(u(utf8)));
}

// The dialog over a model opened as the application would open it: a
// scenario of four characters, one of them suppressed, and four offered
// faces.
class PrintSettingsDialogTest : public testing::Test {
protected:
    PrintSettingsDialogTest()
    {
        m_run.logPath = FCString("/programs/quillon.log.txt");
        m_suppressed = {cp932("先生")};
        m_characters = {cp932("晴香"), cp932("ナレーション"), cp932("先生"), cp932("犬")};
        m_faces = {toCp932(u("@IPAGothic")), toCp932(u("@IPAMincho")), toCp932(u("@ＭＳ ゴシック")),
                   toCp932(u("@ＭＳ 明朝"))};
    }
    ~PrintSettingsDialogTest() override { m_dialog.reset(); }

    void open(PrintSettingsDialogModel::Purpose purpose = PrintSettingsDialogModel::Settings)
    {
        open(m_notices, purpose);
    }
    // The same, OK's questions and notices going to notices.
    void open(Notices& notices,
              PrintSettingsDialogModel::Purpose purpose = PrintSettingsDialogModel::Settings)
    {
        m_dialog.reset();
        m_model.emplace(notices, purpose, m_format, m_run, FCString(toCp932(m_dir.path() + "/")),
                        m_suppressed, m_characters, m_faces);
        m_dialog = std::make_unique<PrintSettingsDialog>(nullptr, *m_model, m_choosers);
        m_dialog->show();
    }

    template <class T> T* control(int id) const { return qobject_cast<T*>(m_dialog->control(id)); }
    QLineEdit* edit(int id) const { return control<QLineEdit>(id); }
    void click(int id)
    {
        auto* button = control<QAbstractButton>(id);
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void type(int id, const QString& text)
    {
        QLineEdit* line = edit(id);
        ASSERT_NE(line, nullptr) << id;
        line->setFocus();
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Backspace);
        QTest::keyClicks(line, text);
    }
    QString message() const { return m_dialog->textOfControl(PrintSettingsDialogModel::MessageId); }
    ListView* view() const { return control<ListView>(PrintSettingsDialogModel::ListId); }
    QString count() const { return m_dialog->textOfControl(PrintSettingsDialogModel::CountId); }
    // OK, then the result written back as the application would take it.
    bool confirm(PrintFormat& format)
    {
        click(PrintSettingsDialogModel::OkId);
        if (m_dialog->result() != QDialog::Accepted)
            return false;
        return m_model->apply(format, m_run);
    }

    QTemporaryDir m_dir;
    PrintFormat m_format;
    RunSettings m_run;
    std::vector<FCString> m_suppressed;
    std::vector<FCString> m_characters;
    std::vector<std::string> m_faces;
    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    FileChoosers m_choosers;
    std::optional<PrintSettingsDialogModel> m_model;
    std::unique_ptr<PrintSettingsDialog> m_dialog;
};

} // namespace

TEST_F(PrintSettingsDialogTest, TitleOkCaptionAndOpeningStateFollowThePurpose)
{
    const struct {
        PrintSettingsDialogModel::Purpose purpose;
        const char* title;
        const char* ok;
    } cases[] = {{PrintSettingsDialogModel::Settings, "印刷設定", "設定する"},
                 {PrintSettingsDialogModel::PrintStart, "印刷の実行", "印刷開始"}};
    for (const auto& c : cases) {
        open(c.purpose);
        EXPECT_EQ(m_dialog->windowTitle(), u(c.title));
        EXPECT_EQ(m_dialog->textOfControl(1), u(c.ok));
        EXPECT_EQ(m_dialog->textOfControl(2), u("ｷｬﾝｾﾙ"));
        EXPECT_EQ(message(),
                  u("HTMLへの出力は、nolvikで直接行ってください\nOKを押すと印刷を開始します。"));
        EXPECT_TRUE(control<QRadioButton>(1015)->isChecked()) << "PNG, the run settings' device";
        EXPECT_TRUE(control<QRadioButton>(1033)->isChecked()) << "PRESET-14p";
        EXPECT_EQ(edit(1016)->text(), m_dir.path() + "/");
        EXPECT_TRUE(edit(1016)->isEnabled());
        EXPECT_TRUE(control<QCheckBox>(1017)->isChecked());
        EXPECT_EQ(edit(1019)->text(), u("/programs/quillon.log.txt"));
        EXPECT_TRUE(control<QCheckBox>(1012)->isChecked());
        EXPECT_FALSE(control<QCheckBox>(1011)->isChecked());
        EXPECT_TRUE(control<QRadioButton>(1038)->isChecked());
        EXPECT_EQ(edit(1043)->text(), u("128"));
        for (int id : {1028, 1029, 1030, 1021, 1024, 1025, 1026, 1027, 1031, 1032, 1037})
            EXPECT_FALSE(m_dialog->control(id)->isEnabled()) << id;
        EXPECT_TRUE(edit(1031)->isReadOnly());
        EXPECT_EQ(control<QComboBox>(1028)->count(), 4);
        EXPECT_EQ(control<QComboBox>(1028)->currentIndex(), -1);
    }
}

TEST_F(PrintSettingsDialogTest, EveryControlIsAnnouncedByItsLabel)
{
    open();
    expectButtonsAnnouncedByTheirLabels(m_dialog.get());
    EXPECT_EQ(control<QCheckBox>(1037)->accessibleName(), u("自動\n計算"));
    const struct {
        int id;
        const char* label;
    } cases[] = {
        {1016, "ファイルの出力先フォルダ"},
        {1019, "ログファイル指定"},
        {1028, "対象キャラ台詞用フォント名"},
        {1029, "通常台詞用フォント名"},
        {1030, "解説等用フォント名"},
        {1021, "太さ(0-1000)"},
        {1025, "太さ(0-1000)"},
        {1026, "ﾌｫﾝﾄ高"},
        {1027, "改行幅"},
        {1031, "行/Page"},
        {1032, "文字/行"},
        {1043, "背景色(0-255)"},
        {1000, "出力を抑制するキャラ（チェックすると抑制します）"},
        {1009, "抑制数"},
    };
    for (const auto& c : cases) {
        QWidget* widget = m_dialog->control(c.id);
        ASSERT_NE(widget, nullptr) << c.id;
        EXPECT_EQ(widget->accessibleName(), u(c.label)) << c.id;
        EXPECT_EQ(announcedName(widget), u(c.label)) << c.id;
    }
    EXPECT_FALSE(m_dialog->control(1001)->accessibleName().isEmpty());
}

TEST_F(PrintSettingsDialogTest, CustomChosenFirstProposesThePresetsValues)
{
    m_format.setMode(PrintFormat::ModePreset16);
    open();
    EXPECT_TRUE(control<QRadioButton>(1034)->isChecked());
    click(1036);

    EXPECT_EQ(control<QComboBox>(1028)->currentText(), u("@ＭＳ ゴシック"));
    EXPECT_EQ(control<QComboBox>(1029)->currentText(), u("@ＭＳ 明朝"));
    EXPECT_EQ(control<QComboBox>(1030)->currentText(), u("@ＭＳ 明朝"));
    const struct {
        int id;
        const char* text;
    } expected[] = {{1021, "700"}, {1024, "400"}, {1025, "700"}, {1026, "16"},
                    {1027, "28"},  {1031, "34"},  {1032, "35"}};
    for (const auto& e : expected) {
        EXPECT_EQ(edit(e.id)->text(), u(e.text)) << e.id;
        EXPECT_TRUE(edit(e.id)->isEnabled()) << e.id;
    }
    EXPECT_TRUE(control<QCheckBox>(1037)->isEnabled());
    EXPECT_FALSE(control<QCheckBox>(1037)->isChecked());

    click(1035);
    for (int id : {1028, 1026, 1037})
        EXPECT_FALSE(m_dialog->control(id)->isEnabled()) << id;
}

TEST_F(PrintSettingsDialogTest, AutomaticCalculationRecalculatesWhileTypingAndLocksTheCounts)
{
    m_format.setMode(PrintFormat::ModeCustom);
    open();
    EXPECT_TRUE(edit(1031)->isReadOnly()) << "read-only from the start";
    EXPECT_TRUE(edit(1032)->isReadOnly());
    click(1037);
    ASSERT_TRUE(control<QCheckBox>(1037)->isChecked());
    EXPECT_EQ(edit(1031)->text(), u("48")) << "960 / 20";

    type(1026, u("18"));
    EXPECT_EQ(edit(1032)->text(), u("30"));
    type(1027, u("32"));
    EXPECT_EQ(edit(1031)->text(), u("30"));
    EXPECT_TRUE(edit(1032)->isReadOnly());
    QTest::keyClicks(edit(1032), u("7"));
    EXPECT_EQ(edit(1032)->text(), u("30"));

    click(1037);
    EXPECT_FALSE(edit(1032)->isReadOnly());
    type(1032, u("25"));
    type(1026, u("14"));
    EXPECT_EQ(edit(1032)->text(), u("25")) << "no calculation once cleared";

    // The stored faces are the defaults, which are offered here.
    click(1013);
    PrintFormat format;
    ASSERT_TRUE(confirm(format));
    EXPECT_EQ(format.charsPerLine(), 25);
    EXPECT_EQ(format.linesPerPage(), 30);
    EXPECT_EQ(format.fontSize(), 14);
    EXPECT_FALSE(format.hasFlag(PrintFormat::FlagAutoCalc));
}

TEST_F(PrintSettingsDialogTest, AFaceThisMachineLacksIsShownWithWhatPrintsItAndKept)
{
    // A folder made on Windows names the Windows faces; this machine has the
    // IPA faces, which the shipped aliases print them with.
    m_faces = {toCp932(u("@IPAGothic")), toCp932(u("@IPAMincho"))};
    m_format.setMode(PrintFormat::ModeCustom);
    m_format.setCustomFont(0, cp932("@ＭＳ ゴシック"), 700);
    m_format.setCustomFont(1, cp932("@無くなった書体"), 400);
    m_format.setCustomFont(2, cp932("@IPAMincho"), 700);
    m_run.device = OutputDevice::Printer;
    open();
    EXPECT_EQ(control<QComboBox>(1028)->currentText(), u("@ＭＳ ゴシック（IPAGothic で印刷）"));
    EXPECT_EQ(control<QComboBox>(1029)->currentText(),
              u("@無くなった書体（この環境では印刷できません）"));
    EXPECT_EQ(control<QComboBox>(1030)->currentText(), u("@IPAMincho"));
    EXPECT_EQ(control<QComboBox>(1028)->count(), 4) << "the two named faces and the installed two";

    PrintFormat format;
    ASSERT_TRUE(confirm(format)) << message().toStdString();
    EXPECT_EQ(format.targetFace().view(), cp932("@ＭＳ ゴシック").view()) << "byte for byte";
    EXPECT_EQ(format.generalFace().view(), cp932("@無くなった書体").view());

    // Another installed face can be picked instead.
    open();
    QComboBox* target = control<QComboBox>(1028);
    target->setCurrentIndex(target->findText(u("@IPAGothic")));
    ASSERT_TRUE(confirm(format));
    EXPECT_EQ(format.targetFace().view(), "@IPAGothic");
}

TEST_F(PrintSettingsDialogTest, AnIncompleteFormatNamesTheEmptyFieldByItsLabel)
{
    m_format.setMode(PrintFormat::ModeCustom);
    m_format.setFlag(PrintFormat::FlagAutoCalc, true);
    open();
    type(1043, u("64"));
    click(1037);
    ASSERT_FALSE(edit(1032)->isReadOnly());
    type(1032, QString());

    click(PrintSettingsDialogModel::OkId);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), 0);
    const QString label = m_dialog->findChild<QLabel*>("charsPerLineLabel")->text();
    EXPECT_EQ(message(), u("フォーマット設定が不完全です。すべての項目を入力して下さい。\n「") +
                             label + u("」が空です。"));
    EXPECT_EQ(edit(1043)->text(), u("64")) << "input intact";
    EXPECT_EQ(edit(1026)->text(), u("14"));
}

TEST_F(PrintSettingsDialogTest, AGreyOf256IsStoredAsZero)
{
    open();
    click(1013);
    type(1043, u("256"));
    click(1040);
    PrintFormat format;
    ASSERT_TRUE(confirm(format));
    EXPECT_EQ(format.customColEmphasis(), 0);
    EXPECT_EQ(format.customModeEmphasis(), 2);
}

TEST_F(PrintSettingsDialogTest, ThePrinterLeavesTheDestinationFolderUntouched)
{
    m_run.destinationFolder = FCString("/pages/before/");
    m_format.setDestFolder(FCString("/pages/before/"));
    open();
    type(1016, u("/pages/elsewhere"));
    click(1013);
    EXPECT_FALSE(edit(1016)->isEnabled());
    EXPECT_FALSE(m_dialog->control(1018)->isEnabled());

    ScriptedDialogHost& host = m_host;
    PrintFormat format;
    ASSERT_TRUE(confirm(format));
    EXPECT_TRUE(host.questions().empty());
    EXPECT_EQ(format.device(), OutputDevice::Printer);
    EXPECT_EQ(m_run.device, OutputDevice::Printer);
    EXPECT_EQ(m_run.destinationFolder.view(), "/pages/before/");
    EXPECT_EQ(format.destFolder().view(), "/pages/before/");
}

TEST_F(PrintSettingsDialogTest, ClearingTheLogSwitchTurnsTheLogOffForTheNextRun)
{
    m_run.device = OutputDevice::Printer;
    open();
    click(1017);
    EXPECT_FALSE(edit(1019)->isEnabled());
    EXPECT_FALSE(m_dialog->control(1020)->isEnabled());
    PrintFormat format;
    ASSERT_TRUE(confirm(format));
    EXPECT_FALSE(m_run.printLog());
    EXPECT_FALSE(format.hasFlag(PrintFormat::FlagLog));

    // The next opening follows the run settings: no log, no file shown.
    open();
    EXPECT_FALSE(control<QCheckBox>(1017)->isChecked());
    EXPECT_FALSE(edit(1019)->isEnabled());
    click(1017);
    EXPECT_TRUE(edit(1019)->isEnabled());
    click(PrintSettingsDialogModel::OkId);
    EXPECT_EQ(message(), u("印刷ログファイルを選択してください。\n"
                           "通常は、カレントフォルダの quillon.log.txtです。"));
}

TEST_F(PrintSettingsDialogTest, TheFolderCreationQuestionDecidesWhetherTheDialogCloses)
{
    for (bool yes : {false, true}) {
        const QString target = m_dir.path() + (yes ? "/yes/pages" : "/no/pages");
        ScriptedDialogHost host({yes});
        UxDialogs notices(host);
        open(notices);
        click(1014);
        type(1016, target);
        click(PrintSettingsDialogModel::OkId);

        ASSERT_EQ(host.questions().size(), 1u);
        EXPECT_EQ(fromCp932(host.questions()[0].title), u("出力先フォルダの新規作成"));
        EXPECT_EQ(fromCp932(host.questions()[0].text),
                  target + u("/\nを新規に作成します。よろしいですか？"));
        EXPECT_EQ(QDir(target).exists(), yes);
        EXPECT_EQ(m_dialog->result() == QDialog::Accepted, yes);
        EXPECT_EQ(m_dialog->isVisible(), !yes);
        EXPECT_EQ(fromCp932(m_run.destinationFolder.view()), target + "/")
            << "the destination changes before the question";
        PrintFormat format;
        EXPECT_EQ(m_model->apply(format, m_run), yes);
        if (yes) {
            EXPECT_EQ(fromCp932(format.destFolder().view()), target + "/");
            EXPECT_EQ(format.device(), OutputDevice::Bmp);
        }
    }
}

TEST_F(PrintSettingsDialogTest, F1WritesTheHelpOfTheFocusedControl)
{
    open();
    const struct {
        int id;
        const char* text;
    } cases[] = {
        {1012, "チェックするとコメントに解説用フォントが、しないと通常台詞用フォントが使われます"},
        {1019, "出力ログの記録ファイルを指定します。印刷終了後出力ログは自動的にテキストエディタで"
               "開かれます。"},
        {1043, "ユーザが明示的に記述したコメントの背景を指定します。なしは従来の動作になります。背"
               "景色は０が黒255が白になります。"},
        {1000, "特に解説はありません。"},
    };
    for (const auto& c : cases) {
        QWidget* widget = m_dialog->control(c.id);
        ASSERT_NE(widget, nullptr);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_F1);
        EXPECT_EQ(message(), u(c.text)) << c.id;
    }
}

TEST_F(PrintSettingsDialogTest, TheSuppressedCountFollowsEveryTick)
{
    open();
    QAbstractItemModel* rows = view()->model();
    ASSERT_EQ(rows->rowCount(), 4);
    EXPECT_EQ(rows->headerData(1, Qt::Horizontal).toString(), u("キャラ名"));
    EXPECT_EQ(rows->data(rows->index(2, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(count(), u("1"));

    rows->setData(rows->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(count(), u("2")) << "a tick by hand";
    const QRect cell = view()->visualRect(rows->index(3, 1));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(count(), u("3")) << "a double click toggles";
    EXPECT_EQ(rows->data(rows->index(3, 0), Qt::CheckStateRole).toInt(), Qt::Checked);

    click(1006);
    EXPECT_EQ(count(), u("0"));
    click(1005);
    EXPECT_EQ(count(), u("4"));
    rows->setData(rows->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(count(), u("3"));

    m_run.device = OutputDevice::Printer;
    click(1013);
    PrintFormat format;
    ASSERT_TRUE(confirm(format));
    EXPECT_EQ(fromCp932(format.suppressedText().view()), u("晴香\n先生\n犬\n"));
}

TEST_F(PrintSettingsDialogTest, TheBrowseButtonsAskTheirDialogsAndFillTheEdits)
{
    QString folderCaption, folderStart, fileTitle, fileStart, fileFilters;
    m_choosers.folderBrowser = [&](QWidget*, const QString& caption, const QString& start) {
        folderCaption = caption;
        folderStart = start;
        return m_dir.path() + u("/画像");
    };
    m_choosers.fileChooser = [&](QWidget*, const QString& title, const QString& start,
                                 const QString& filters) {
        fileTitle = title;
        fileStart = start;
        fileFilters = filters;
        return u("/logs/new.txt");
    };
    open();
    click(1018);
    EXPECT_EQ(folderCaption, u("フォルダの選択"));
    EXPECT_EQ(folderStart, m_dir.path() + "/");
    EXPECT_EQ(edit(1016)->text(), m_dir.path() + u("/画像"));
    EXPECT_EQ(fromCp932(m_model->destinationText().view()), m_dir.path() + u("/画像"));

    click(1020);
    EXPECT_EQ(fileTitle, u("ログファイルの選択"));
    EXPECT_EQ(fileFilters, u("ログファイル (*.txt);;全てのファイル (*)"));
    EXPECT_EQ(fileStart, u("/programs/quillon.log.txt"));
    EXPECT_EQ(edit(1019)->text(), u("/logs/new.txt"));

    type(1019, QString());
    click(1020);
    EXPECT_TRUE(fileStart.endsWith("/")) << "the program's folder when the edit is empty";
    EXPECT_NE(fileStart, u("/logs/new.txt"));
}

TEST_F(PrintSettingsDialogTest, PdfRadioAndBundlingBoxAreThereAndAnnounced)
{
    open();
    auto* pdf = control<QRadioButton>(PrintSettingsDialogModel::PdfId);
    auto* bundle = control<QCheckBox>(PrintSettingsDialogModel::BundleByActorId);
    ASSERT_NE(pdf, nullptr);
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(pdf->text(), u("ファイルに出力(PDF)"));
    EXPECT_EQ(pdf->accessibleName(), u("ファイルに出力(PDF)"));
    EXPECT_EQ(bundle->text(), u("キャラ別にまとめる"));
    EXPECT_EQ(bundle->accessibleName(), u("キャラ別にまとめる"));
    // PNG is chosen: the box waits for PDF.
    EXPECT_FALSE(pdf->isChecked());
    EXPECT_FALSE(bundle->isEnabled());
    // The four devices are one choice.
    click(PrintSettingsDialogModel::PdfId);
    EXPECT_TRUE(pdf->isChecked());
    for (int id : {1013, 1014, 1015})
        EXPECT_FALSE(control<QRadioButton>(id)->isChecked()) << id;
    EXPECT_TRUE(bundle->isEnabled());
    EXPECT_TRUE(edit(1016)->isEnabled());
    EXPECT_TRUE(m_dialog->control(1018)->isEnabled());
    // No control overlaps another.
    const QList<QWidget*> controls = m_dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* a : controls) {
        for (QWidget* b : controls) {
            if (a != b && a->isVisibleTo(m_dialog.get()) && b->isVisibleTo(m_dialog.get())) {
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->objectName().toStdString() << " / " << b->objectName().toStdString();
            }
        }
    }
}

TEST_F(PrintSettingsDialogTest, ChoosingPdfAndBundlingIsConfirmedIntoTheSettings)
{
    m_run.destinationFolder = FCString(toCp932(m_dir.path() + "/"));
    open(PrintSettingsDialogModel::PrintStart);
    click(PrintSettingsDialogModel::PdfId);
    click(PrintSettingsDialogModel::BundleByActorId);
    EXPECT_TRUE(control<QCheckBox>(PrintSettingsDialogModel::BundleByActorId)->isChecked());

    PrintFormat format;
    ASSERT_TRUE(confirm(format));
    EXPECT_EQ(format.device(), OutputDevice::Pdf);
    EXPECT_TRUE(format.bundleByActor());
    EXPECT_EQ(m_run.device, OutputDevice::Pdf);
    EXPECT_TRUE(m_run.bundleByActor);

    // The next opening shows them again; leaving PDF disables the box and
    // keeps its tick.
    open();
    EXPECT_TRUE(control<QRadioButton>(PrintSettingsDialogModel::PdfId)->isChecked());
    auto* bundle = control<QCheckBox>(PrintSettingsDialogModel::BundleByActorId);
    EXPECT_TRUE(bundle->isChecked());
    EXPECT_TRUE(bundle->isEnabled());
    click(1015);
    EXPECT_FALSE(bundle->isEnabled());
    EXPECT_TRUE(bundle->isChecked());
}

TEST_F(PrintSettingsDialogTest, F1OnThePdfControlsShowsTheirHelp)
{
    open();
    click(PrintSettingsDialogModel::PdfId);
    for (int id : {PrintSettingsDialogModel::PdfId, PrintSettingsDialogModel::BundleByActorId}) {
        QWidget* widget = m_dialog->control(id);
        ASSERT_NE(widget, nullptr);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_F1);
        EXPECT_EQ(message(), fromCp932(PrintSettingsDialogModel::helpText(id))) << id;
        EXPECT_NE(message(), u("特に解説はありません。")) << id;
    }
}

TEST_F(PrintSettingsDialogTest, FitsASmallScreenAndStaysWholeAtItsMinimumSize)
{
    m_model.emplace(m_notices, PrintSettingsDialogModel::PrintStart, m_format, m_run,
                    FCString(toCp932(m_dir.path() + "/")), m_suppressed, m_characters, m_faces);
    // The largest form: the print's, with the choice of changed lines.
    m_model->offerChanges({cp932("/scenario/旧版/")});
    m_dialog = std::make_unique<PrintSettingsDialog>(nullptr, *m_model, m_choosers);
    expectFitsASmallScreen(m_dialog.get());
    // The list takes what the window grows by.
    const int listHeight = view()->height();
    m_dialog->resize(m_dialog->width(), m_dialog->height() + 100);
    QApplication::processEvents();
    EXPECT_GT(view()->height(), listHeight);
}

TEST_F(PrintSettingsDialogTest, EscCancelsAndEnterPressesOkWhateverControlHasTheFocus)
{
    open();
    QStringList names;
    for (QWidget* control : keyboardControls(m_dialog.get()))
        names << control->objectName();
    ASSERT_TRUE(names.contains("suppressedList"));
    ASSERT_TRUE(names.contains("destinationEdit"));
    ASSERT_TRUE(names.contains("destinationBrowseButton"));

    for (const QString& name : names) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            open();
            auto* widget = m_dialog->findChild<QWidget*>(name);
            widget->setFocus();
            QTest::keyClick(widget, key);
            const bool accepting = key != Qt::Key_Escape;
            EXPECT_FALSE(m_dialog->isVisible()) << name.toStdString() << " " << key;
            EXPECT_EQ(m_dialog->result(), accepting ? QDialog::Accepted : QDialog::Rejected)
                << name.toStdString() << " " << key;
            EXPECT_EQ(m_model->accepted(), accepting) << name.toStdString() << " " << key;
        }
    }
}

TEST_F(PrintSettingsDialogTest, OpensWithTheFocusOnTheChosenDevice)
{
    const struct {
        OutputDevice device;
        int id;
    } cases[] = {{OutputDevice::Png, 1015},
                 {OutputDevice::Printer, 1013},
                 {OutputDevice::Pdf, 1044},
                 {OutputDevice::Bmp, 1014}};
    for (const auto& c : cases) {
        m_run.device = c.device;
        open();
        QApplication::setActiveWindow(m_dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
        EXPECT_EQ(QApplication::focusWidget(), m_dialog->control(c.id)) << c.id;
    }
}

TEST_F(PrintSettingsDialogTest, ARadioToggledByAScreenReaderActsAsAClickDoes)
{
    m_format.setMode(PrintFormat::ModePreset16);
    open();
    auto toggle = [](QWidget* button) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(face, nullptr);
        ASSERT_NE(face->actionInterface(), nullptr);
        face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };

    toggle(m_dialog->control(1036));
    ASSERT_TRUE(control<QRadioButton>(1036)->isChecked());
    const struct {
        int id;
        const char* text;
    } proposed[] = {{1021, "700"}, {1024, "400"}, {1025, "700"}, {1026, "16"},
                    {1027, "28"},  {1031, "34"},  {1032, "35"}};
    for (const auto& p : proposed) {
        EXPECT_EQ(edit(p.id)->text(), u(p.text)) << p.id;
        EXPECT_TRUE(edit(p.id)->isEnabled()) << p.id;
    }
    EXPECT_EQ(control<QComboBox>(1028)->currentText(), u("@ＭＳ ゴシック"));
    EXPECT_TRUE(control<QCheckBox>(1037)->isEnabled());

    toggle(m_dialog->control(1037));
    EXPECT_EQ(edit(1031)->text(), u("34")) << "960 / 28";
    EXPECT_TRUE(edit(1031)->isReadOnly());
    toggle(m_dialog->control(1017));
    EXPECT_FALSE(edit(1019)->isEnabled()) << "the log switch";
    toggle(m_dialog->control(1013));
    EXPECT_FALSE(edit(1016)->isEnabled()) << "the printer needs no folder";
    toggle(m_dialog->control(1041));
    toggle(m_dialog->control(1011));

    PrintFormat format;
    ASSERT_TRUE(confirm(format)) << message().toStdString();
    EXPECT_EQ(format.mode(), PrintFormat::ModeCustom);
    EXPECT_TRUE(format.hasFlag(PrintFormat::FlagAutoCalc));
    EXPECT_FALSE(format.hasFlag(PrintFormat::FlagLog));
    EXPECT_TRUE(format.hasFlag(PrintFormat::FlagGeneric));
    EXPECT_EQ(format.device(), OutputDevice::Printer);
    EXPECT_EQ(format.customModeEmphasis(), 3);
}

TEST_F(PrintSettingsDialogTest, ATextSetByAScreenReaderIsWhatOkStores)
{
    m_format.setMode(PrintFormat::ModeCustom);
    m_format.setFlag(PrintFormat::FlagAutoCalc, true);
    m_run.device = OutputDevice::Printer;
    open();
    auto setText = [](QWidget* field, const QString& text) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(field);
        ASSERT_NE(face, nullptr);
        ASSERT_NE(face->editableTextInterface(), nullptr);
        face->setText(QAccessible::Value, text);
    };
    setText(m_dialog->control(1026), u("18"));
    EXPECT_EQ(edit(1032)->text(), u("30")) << "recalculated as typing would";
    setText(m_dialog->control(1024), u("350"));
    setText(m_dialog->control(1043), u("200"));

    PrintFormat format;
    ASSERT_TRUE(confirm(format)) << message().toStdString();
    EXPECT_EQ(format.fontSize(), 18);
    EXPECT_EQ(format.charsPerLine(), 30);
    EXPECT_EQ(format.generalWeight(), 350);
    EXPECT_EQ(format.customColEmphasis(), 200);
}

TEST_F(PrintSettingsDialogTest, TheSuppressedCountIsAValueAScreenReaderReads)
{
    open();
    // A read-only field, as a path or a count is shown elsewhere: a screen
    // reader reads its caption and then its value.
    ASSERT_NE(edit(1009), nullptr);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(edit(1009));
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::EditableText);
    EXPECT_TRUE(face->state().readOnly);
    EXPECT_EQ(face->text(QAccessible::Name), u("抑制数"));
    EXPECT_EQ(face->text(QAccessible::Value), u("1"));
    click(1005);
    EXPECT_EQ(face->text(QAccessible::Value), u("4"));
}

TEST_F(PrintSettingsDialogTest, KeepsToADarkPalette)
{
    DarkPaletteScope dark;
    m_format.setMode(PrintFormat::ModeCustom);
    open();
    m_dialog->control(1026)->setFocus();
    QTest::keyClick(m_dialog->control(1026), Qt::Key_F1);
    ASSERT_FALSE(message().isEmpty());
    expectReadableInTheApplicationsPalette(m_dialog.get());
}

TEST_F(PrintSettingsDialogTest, TypesettingControlsAreAnnouncedAndConfirmedIntoTheSettings)
{
    m_format.setTypesetting({TypesettingOptions::LineBreaking::Loose, true, false});
    m_run.device = OutputDevice::Printer;
    open(PrintSettingsDialogModel::PrintStart);
    auto* combo = control<QComboBox>(PrintSettingsDialogModel::LineBreakingId);
    auto* upright = control<QCheckBox>(PrintSettingsDialogModel::UprightDigitsId);
    auto* ruby = control<QCheckBox>(PrintSettingsDialogModel::RubyId);
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(upright, nullptr);
    ASSERT_NE(ruby, nullptr);
    EXPECT_EQ(combo->accessibleName(), u("禁則処理"));
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), u("なし"));
    EXPECT_EQ(combo->itemText(1), u("標準"));
    EXPECT_EQ(combo->itemText(2), u("緩め"));
    EXPECT_EQ(upright->text(), u("数字を縦中横にする"));
    EXPECT_EQ(upright->accessibleName(), u("数字を縦中横にする"));
    EXPECT_EQ(ruby->text(), u("ルビを表示する"));
    EXPECT_EQ(ruby->accessibleName(), u("ルビを表示する"));
    // As the settings have them.
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_TRUE(upright->isChecked());
    EXPECT_FALSE(ruby->isChecked());

    combo->setCurrentIndex(1);
    EXPECT_EQ(m_model->lineBreaking(), 1);
    click(PrintSettingsDialogModel::UprightDigitsId);
    click(PrintSettingsDialogModel::RubyId);
    EXPECT_FALSE(m_model->uprightDigits());
    EXPECT_TRUE(m_model->ruby());

    PrintFormat format;
    ASSERT_TRUE(confirm(format));
    EXPECT_TRUE(format.typesetting() ==
                (TypesettingOptions{TypesettingOptions::LineBreaking::Strict, false, true}));
}

TEST_F(PrintSettingsDialogTest, TheChoiceOfChangedLinesFollowsItsTickAndIsWhatOkConfirms)
{
    m_run.device = OutputDevice::Printer;
    open(PrintSettingsDialogModel::Settings);
    EXPECT_FALSE(control<QCheckBox>(PrintSettingsDialogModel::ChangesOnlyId)->isVisible())
        << "the settings form prints nothing";

    m_dialog.reset();
    m_model.emplace(m_notices, PrintSettingsDialogModel::PrintStart, m_format, m_run,
                    FCString(toCp932(m_dir.path() + "/")), m_suppressed, m_characters, m_faces);
    m_model->offerChanges({cp932("/scenario/旧版/")});
    m_dialog = std::make_unique<PrintSettingsDialog>(nullptr, *m_model, m_choosers);
    m_dialog->show();
    auto* choice = control<QCheckBox>(PrintSettingsDialogModel::ChangesOnlyId);
    auto* sincePrint = control<QRadioButton>(PrintSettingsDialogModel::SincePrintId);
    auto* folderRadio = control<QRadioButton>(PrintSettingsDialogModel::CompareFolderId);
    auto* folder = control<QComboBox>(PrintSettingsDialogModel::CompareFolderTextId);
    auto* browse = control<QPushButton>(PrintSettingsDialogModel::CompareBrowseId);
    ASSERT_TRUE(choice && sincePrint && folderRadio && folder && browse);
    EXPECT_TRUE(choice->isVisible());
    EXPECT_EQ(announcedName(choice), u("変更された台詞のみ"));
    EXPECT_EQ(folder->accessibleName(), u("比較する台本フォルダ"));
    EXPECT_EQ(folder->currentText(), u("/scenario/旧版/")) << "the newest folder typed";
    auto toggle = [](QWidget* button) {
        QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
    };

    // What is enabled after each step: the two sources, the folder and its
    // button.
    const struct {
        const char* step;
        QWidget* toggled;
        bool sources;
        bool folder;
    } steps[] = {
        {"unticked", nullptr, false, false},
        {"ticked", choice, true, false},
        {"the folder chosen", folderRadio, true, true},
        {"unticked again", choice, false, false},
        {"ticked again", choice, true, true},
    };
    for (const auto& s : steps) {
        if (s.toggled)
            toggle(s.toggled);
        EXPECT_EQ(sincePrint->isEnabled(), s.sources) << s.step;
        EXPECT_EQ(folderRadio->isEnabled(), s.sources) << s.step;
        EXPECT_EQ(folder->isEnabled(), s.folder) << s.step;
        EXPECT_EQ(browse->isEnabled(), s.folder) << s.step;
    }
    QAccessible::queryAccessibleInterface(folder->lineEdit())
        ->setText(QAccessible::Value, u("/scenario/第二稿/"));
    EXPECT_EQ(fromCp932(m_model->compareFolderText().view()), u("/scenario/第二稿/"));

    PrintFormat format;
    ASSERT_TRUE(confirm(format)) << message().toStdString();
    EXPECT_TRUE(m_model->changesOnly());
    EXPECT_FALSE(m_model->changesSource().sincePrint);
    EXPECT_EQ(fromCp932(m_model->changesSource().folderText.view()), u("/scenario/第二稿/"));
}
