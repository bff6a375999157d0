#include "ui/ScriptedProgressView.h"

#include "ui/UxProgressDialog.h"

ScriptedProgressView::~ScriptedProgressView() = default;

void ScriptedProgressView::opened(UxProgressDialog& dialog)
{
    ++m_opens;
    m_stepsSinceOpen = 0;
    m_pumpsSinceOpen = 0;
    m_titles.push_back(dialog.title());
    m_texts.push_back(dialog.text());
    m_minimum = dialog.minimum();
    m_maximum = dialog.maximum();
    m_cancellable = dialog.isCancellable();
}

void ScriptedProgressView::textChanged(UxProgressDialog& dialog)
{
    m_texts.push_back(dialog.text());
}

void ScriptedProgressView::positionChanged(UxProgressDialog& dialog)
{
    ++m_steps;
    ++m_stepsSinceOpen;
    m_positions.push_back(dialog.position());
    if (m_cancelAfterSteps > 0 && m_stepsSinceOpen == m_cancelAfterSteps)
        dialog.pressCancel();
}

void ScriptedProgressView::pump(UxProgressDialog& dialog)
{
    ++m_pumps;
    ++m_pumpsSinceOpen;
    if (m_cancelAtPump > 0 && m_pumpsSinceOpen == m_cancelAtPump)
        dialog.pressCancel();
}

void ScriptedProgressView::pumpWaiting(UxProgressDialog&)
{
    ++m_waitingPumps;
}

void ScriptedProgressView::closed(UxProgressDialog&)
{
    ++m_closes;
}
