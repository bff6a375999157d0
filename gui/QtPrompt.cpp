#include "gui/QtPrompt.h"

#include "gui/DialogBase.h"
#include "gui/QtDialogHost.h"
#include "gui/QtText.h"

#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

QtPrompt::QtPrompt() = default;

QtPrompt::~QtPrompt() = default;

Prompt::Answer QtPrompt::ask(const std::string& title, const std::string& text, Buttons buttons)
{
    QMessageBox box(QtDialogHost::owner());
    box.setWindowTitle(fromCp932(title));
    box.setText(fromCp932(text));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);

    // Each button with its answer; the last one is what closing the box
    // without a button means.
    std::vector<std::pair<QPushButton*, Answer>> answers;
    const auto add = [&](const char* label, QMessageBox::ButtonRole role, Answer answer) {
        answers.emplace_back(box.addButton(QString::fromUtf8(label), role), answer);
    };
    switch (buttons) {
    case Buttons::RetryCancel:
        box.setIcon(QMessageBox::Warning);
        add(RetryLabel, QMessageBox::AcceptRole, Answer::Retry);
        add(CancelLabel, QMessageBox::RejectRole, Answer::Cancel);
        break;
    case Buttons::YesNo:
        box.setIcon(QMessageBox::Question);
        add(YesLabel, QMessageBox::YesRole, Answer::Yes);
        add(NoLabel, QMessageBox::NoRole, Answer::No);
        break;
    case Buttons::Ok:
        box.setIcon(QMessageBox::Information);
        add(OkLabel, QMessageBox::AcceptRole, Answer::Ok);
        break;
    }
    box.setDefaultButton(answers.front().first);
    box.setEscapeButton(answers.back().first);
    DialogBase::nameControlsByLabels(&box);
    box.raise();
    box.activateWindow();
    box.exec();

    for (const auto& [button, answer] : answers) {
        if (box.clickedButton() == button)
            return answer;
    }
    return answers.back().second;
}
