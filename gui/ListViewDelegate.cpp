#include "gui/ListViewDelegate.h"

#include "gui/ListViewModel.h"
#include "gui/QtText.h"
#include "ui/ListGauge.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <QtMath>
#include <algorithm>
#include <utility>

namespace {

QRect toQRect(const ListGauge::Rect& r)
{
    return QRect(r.x, r.y, r.width, r.height);
}

} // namespace

ListViewDelegate::ListViewDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

ListViewDelegate::~ListViewDelegate() = default;

ListCellColours::Pair ListViewDelegate::coloursFor(const QStyleOptionViewItem& option,
                                                   const QModelIndex& index) const
{
    using State = ListCellColours::State;
    State state = State::Normal;
    if (option.state & QStyle::State_Selected) {
        const bool focused = option.widget && option.widget->hasFocus();
        state = focused ? State::SelectedFocused : State::Selected;
    }
    const auto text = index.data(ListViewModel::CellTextColourRole);
    const auto background = index.data(ListViewModel::CellBackgroundColourRole);
    return ListCellColours::forCell(
        text.isValid() ? text.toUInt() : UxListViewControl::DefaultColour,
        background.isValid() ? background.toUInt() : UxListViewControl::DefaultColour, state,
        systemColours(option.palette));
}

ListCellColours::System ListViewDelegate::systemColours(const QPalette& palette)
{
    const auto colour = [&palette](QPalette::ColorRole role) {
        return ListViewModel::colourFrom(palette.color(role));
    };
    return {colour(QPalette::Text), colour(QPalette::Base), colour(QPalette::Highlight),
            colour(QPalette::HighlightedText)};
}

void ListViewDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const ListCellColours::Pair colours = coloursFor(option, index);
    const QColor text = ListViewModel::colourOf(colours.text);
    const QColor background = ListViewModel::colourOf(colours.background);

    if (index.data(ListViewModel::CellKindRole).toInt() == UxListViewControl::KindGauge) {
        const int percent = index.data(ListViewModel::CellValueRole).toInt();
        const QString label = fromCp932(
            ListGauge::label(toCp932(index.data(Qt::DisplayRole).toString()), {}, percent));
        // The label takes the cell's colours where they read on the gauge;
        // a dark palette's light text on the light inside would not.
        const auto readable = [](const QColor& colour, const QColor& on) {
            return ListViewModel::colourOf(ListCellColours::readableOn(
                ListViewModel::colourFrom(colour), ListViewModel::colourFrom(on)));
        };
        painter->save();
        painter->setFont(option.font);
        paintGauge(painter, option.rect, percent, label,
                   {m_gaugeFrame, m_gaugeFill, readable(background, m_gaugeFill),
                    readable(text, ListViewModel::colourOf(ListGauge::InsideColour))});
        painter->restore();
        return;
    }

    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    // The program's own selected look replaces the toolkit's.
    cell.state &= ~QStyle::State_Selected;
    cell.backgroundBrush = background;
    cell.palette.setColor(QPalette::Text, text);
    cell.palette.setColor(QPalette::WindowText, text);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
}

bool ListViewDelegate::measuredWith(const QStyleOptionViewItem& option, const QStyle* style) const
{
    const QStyleOptionViewItem* kept = m_measured.option.get();
    return kept && m_measured.style == style && option.state == kept->state &&
           option.rect == kept->rect && option.font == kept->font &&
           option.widget == kept->widget && option.features == kept->features &&
           option.decorationSize == kept->decorationSize &&
           option.decorationPosition == kept->decorationPosition &&
           option.displayAlignment == kept->displayAlignment &&
           option.textElideMode == kept->textElideMode && option.direction == kept->direction &&
           option.fontMetrics == kept->fontMetrics;
}

QSize ListViewDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto* model = qobject_cast<const ListViewModel*>(index.model());
    ListViewModel::CellLook cell;
    if (!m_measuring || !model || !model->cellLook(index, cell))
        return QStyledItemDelegate::sizeHint(option, index);
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    if (!measuredWith(option, style)) {
        forgetSizes();
        m_measured.option = std::make_unique<QStyleOptionViewItem>(option);
        m_measured.style = style;
    }
    ColumnSizes& sizes = m_measured.columns[index.column()];
    if (!sizes.fitting) {
        // The column's fit begins: what the last one used may come again.
        sizes.earlier = std::move(sizes.used);
        sizes.used.clear();
        sizes.used.reserve(sizes.earlier.size());
        sizes.fitting = true;
        sizes.widest = 0;
    }
    // The model gives no fonts, icons or size hints of its own: the rest
    // of what the style measures is the view's, and the same for every cell.
    // The text is looked up where the list holds it, and copied only when
    // it is kept.
    Look look{QByteArray::fromRawData(cell.text.data(), qsizetype(cell.text.size())), cell.kind,
              cell.check};
    auto found = sizes.used.constFind(look);
    if (found != sizes.used.constEnd())
        return *found;
    auto earlier = sizes.earlier.constFind(look);
    const QSize size =
        earlier != sizes.earlier.constEnd() ? *earlier : measure(option, index, look, sizes.widest);
    look.text.detach();
    sizes.used.insert(look, size);
    sizes.widest = std::max(sizes.widest, size.width());
    return size;
}

QSize ListViewDelegate::measure(const QStyleOptionViewItem& option, const QModelIndex& index,
                                const Look& look, int widest) const
{
    const auto laidOut = m_laidOut.sizes.constFind(look.text);
    if (laidOut == m_laidOut.sizes.constEnd() || m_laidOut.font != option.font)
        return QStyledItemDelegate::sizeHint(option, index);
    const int textWidth = qCeil(laidOut->width());
    Margins& margins =
        m_measured.margins[TextClass{look.kind, look.check, qCeil(laidOut->height())}];
    const QSize guess(textWidth + margins.extraWidth, margins.height);
    if (margins.state == Margins::State::Trusted && guess.width() <= widest &&
        ++margins.untested < CheckEvery)
        return guess;
    margins.untested = 0;
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    learn(margins, size, textWidth);
    return size;
}

void ListViewDelegate::learn(Margins& margins, const QSize& size, int textWidth) const
{
    using State = Margins::State;
    const int extraWidth = size.width() - textWidth;
    const bool alike = extraWidth == margins.extraWidth && size.height() == margins.height;
    switch (margins.state) {
    case State::Unknown:
        margins = {State::Seen, extraWidth, size.height(), textWidth, 0};
        break;
    case State::Seen:
        // A second cell as wide as the first tells nothing new.
        if (!alike)
            margins.state = State::Distrusted;
        else if (textWidth != margins.seenWidth)
            margins.state = State::Trusted;
        break;
    case State::Trusted:
        if (!alike) {
            margins.state = State::Distrusted;
            m_wrongGuess = true;
        }
        break;
    case State::Distrusted:
        break;
    }
}

void ListViewDelegate::useLaidOutTexts(TextSizeMeasurer::Sizes laidOut) const
{
    m_laidOut = std::move(laidOut);
}

bool ListViewDelegate::takeWrongGuess() const
{
    if (!std::exchange(m_wrongGuess, false))
        return false;
    // Any kept size may have been guessed the same way.
    m_measured.columns.clear();
    return true;
}

void ListViewDelegate::forgetSizes() const
{
    m_measured.option.reset();
    m_measured.style = nullptr;
    m_measured.columns.clear();
    m_measured.margins.clear();
}

ListViewDelegate::MeasureOnce::MeasureOnce(const ListViewDelegate& delegate) : m_delegate(delegate)
{
    m_delegate.m_measuring = true;
}

ListViewDelegate::MeasureOnce::~MeasureOnce()
{
    m_delegate.m_measuring = false;
    for (ColumnSizes& sizes : m_delegate.m_measured.columns)
        sizes.fitting = false;
    m_delegate.m_laidOut = {};
}

void ListViewDelegate::setGaugeColours(const QColor& frame, const QColor& fill)
{
    m_gaugeFrame = frame;
    m_gaugeFill = fill;
}

void ListViewDelegate::paintGauge(QPainter* painter, const QRect& cell, int percent,
                                  const QString& label, const GaugeLook& look)
{
    const ListGauge::Layout layout =
        ListGauge::layout({cell.x(), cell.y(), cell.width(), cell.height()}, percent);
    const QRect frame = toQRect(layout.frame);
    const QRect inside = toQRect(layout.inside);
    const QRect filled = toQRect(layout.filled);
    if (frame.isEmpty())
        return;

    // Filled rectangles rather than outlines, so that every edge lies on
    // exactly the pixels the layout names.
    painter->fillRect(frame, look.frame);
    painter->fillRect(inside, ListViewModel::colourOf(ListGauge::InsideColour));
    painter->fillRect(QRect(inside.x(), inside.y(), inside.width(), 1), Qt::black);
    painter->fillRect(QRect(inside.x(), inside.y(), 1, inside.height()), Qt::black);
    painter->fillRect(filled, look.fill);

    if (label.isEmpty() || inside.isEmpty())
        return;
    const QRect rest(filled.x() + filled.width(), inside.y(),
                     inside.right() + 1 - (filled.x() + filled.width()), inside.height());
    painter->save();
    painter->setClipRect(filled);
    painter->setPen(look.labelOnFill);
    painter->drawText(inside, Qt::AlignCenter, label);
    painter->setClipRect(rest);
    painter->setPen(look.labelOnRest);
    painter->drawText(inside, Qt::AlignCenter, label);
    painter->restore();
}
