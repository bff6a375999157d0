#include "ui/UxProgressDialog.h"

#include "ui/ProgressView.h"

#include <algorithm>

std::atomic<int> UxProgressDialog::s_cancelRequest{0};

UxProgressDialog::UxProgressDialog(ProgressView& view, int templateNumber)
    : m_view(view), m_templateNumber(templateNumber)
{
}

UxProgressDialog::~UxProgressDialog()
{
    close();
}

void UxProgressDialog::setTitle(std::string_view title)
{
    m_title.assign(title);
}

void UxProgressDialog::setText(std::string_view text)
{
    m_text.assign(text);
    if (m_open)
        m_view.textChanged(*this);
}

void UxProgressDialog::setupBar(bool show, int32_t start, int32_t minimum, int32_t maximum)
{
    m_showBar = show;
    m_start = start;
    m_minimum = minimum;
    m_maximum = maximum;
}

void UxProgressDialog::setRange(int32_t minimum, int32_t maximum)
{
    m_showBar = true;
    m_minimum = minimum;
    m_maximum = maximum;
}

void UxProgressDialog::open(bool cancellable)
{
    if (m_open)
        return;
    m_cancelled = false;
    m_stopRequested = false;
    m_cancellable = cancellable;
    m_position =
        std::clamp(m_start, std::min(m_minimum, m_maximum), std::max(m_minimum, m_maximum));
    m_open = true;
    m_view.opened(*this);
}

void UxProgressDialog::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_view.closed(*this);
}

bool UxProgressDialog::step()
{
    // In 64 bits, so that a step near the 32-bit limit cannot overflow.
    const int64_t next = int64_t(m_position) + m_stepSize;
    const bool reached = next >= m_maximum;
    m_position = reached ? m_maximum : static_cast<int32_t>(next);
    if (m_open)
        m_view.positionChanged(*this);
    return reached;
}

void UxProgressDialog::setPosition(int32_t position)
{
    m_position = position;
    if (m_open)
        m_view.positionChanged(*this);
}

void UxProgressDialog::pump()
{
    if (!m_open)
        return;
    m_view.pump(*this);
    takeRequests();
}

void UxProgressDialog::pumpWaiting()
{
    if (!m_open)
        return;
    m_view.pumpWaiting(*this);
    takeRequests();
}

void UxProgressDialog::takeRequests()
{
    // A request stays pending for a dialog that cannot be cancelled. Two
    // presses that came between pumps are both taken: the second asks to
    // stop at once.
    if (!m_cancellable)
        return;
    for (int presses = std::min(s_cancelRequest.exchange(0), 2); presses > 0; --presses)
        pressCancel();
}

void UxProgressDialog::pressCancel()
{
    if (!m_cancellable)
        return;
    if (m_cancelled)
        m_stopRequested = true;
    m_cancelled = true;
}

void UxProgressDialog::requestCancel() noexcept
{
    s_cancelRequest.fetch_add(1);
}

bool UxProgressDialog::cancelRequested() noexcept
{
    return s_cancelRequest.load() > 0;
}

void UxProgressDialog::clearCancelRequest() noexcept
{
    s_cancelRequest.store(0);
}
