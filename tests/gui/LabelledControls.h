#pragma once

#include "GuiTestSupport.h"
#include "gui/DialogBase.h"

#include <QAbstractButton>
#include <gtest/gtest.h>

// Every button, check box and radio button the user can see under root is
// announced by the label it shows.
inline void expectButtonsAnnouncedByTheirLabels(QWidget* root)
{
    const QList<QAbstractButton*> buttons = root->findChildren<QAbstractButton*>();
    int checked = 0;
    for (QAbstractButton* button : buttons) {
        if (button->isHidden())
            continue;
        const QString label = DialogBase::withoutMnemonics(button->text());
        EXPECT_FALSE(label.isEmpty()) << button->objectName().toStdString();
        EXPECT_EQ(button->accessibleName(), label) << button->objectName().toStdString();
        EXPECT_EQ(announcedName(button), label) << button->objectName().toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 0);
}
