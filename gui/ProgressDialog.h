#pragma once

#include "gui/DialogBase.h"

#include <memory>

namespace Ui {
class ProgressDialog;
}

// The window of the progress dialog (template 175): a title, the text line
// 1001, the bar 1235 and the cancel button 2 "キャンセル". It only shows
// state and reports the cancel button; the work and its cancelled flag stay
// with the caller (QtProgressView connects the two).
//
// Esc and the window's close box count as the cancel button: the window
// stays until the work ends, so that a started operation never loses its
// window while it still runs.
class ProgressDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int TemplateNumber = 175;
    static constexpr int TextId = 1001;
    static constexpr int BarId = 1235;
    static constexpr int CancelId = 2;

    explicit ProgressDialog(QWidget* parent = nullptr);
    ~ProgressDialog() override;

    void setText(const QString& text);
    QString shownText() const;
    // A hidden bar takes no room.
    void setBar(bool show, int minimum, int maximum, int position);
    void setPosition(int position);
    int position() const;
    // A dialog that cannot be cancelled has its cancel button disabled.
    void setCancellable(bool cancellable);

signals:
    void cancelPressed();

public slots:
    void reject() override;

private:
    std::unique_ptr<Ui::ProgressDialog> m_ui;
};
