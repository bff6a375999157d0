#pragma once

#include "ui/ListCellColours.h"

#include <QColor>
#include <QHash>
#include <QStyledItemDelegate>
#include <memory>

// Draws the cells of a ListView in the program's colours instead of the
// toolkit's selection look (see ListCellColours): a cell's own colours, or
// for a selected row its background blended with a highlight that tells
// whether the list has the focus. The list's default colour stands for the
// palette's Base (background) and Text; a dark palette brings its own
// highlight (see ListCellColours).
//
// A gauge cell (kind 3) is a bar: its value is the percent and its text the
// label pattern ("%d%%" when empty); see ListGauge for the geometry.
class ListViewDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    struct GaugeLook {
        QColor frame;
        QColor fill;
        // The label over the filled part, and over the rest.
        QColor labelOnFill;
        QColor labelOnRest;
    };

    explicit ListViewDelegate(QObject* parent = nullptr);
    ~ListViewDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // While one lives, the cells of a column that show the same text the
    // same way are measured once: fitting a column to thousands of rows
    // where most hold the same names then costs a measure per name. Sizes
    // asked with another option than the first are measured as usual.
    class MeasureOnce {
    public:
        explicit MeasureOnce(const ListViewDelegate& delegate);
        ~MeasureOnce();
        MeasureOnce(const MeasureOnce&) = delete;
        MeasureOnce& operator=(const MeasureOnce&) = delete;

    private:
        const ListViewDelegate& m_delegate;
    };

    // The colours the cell is drawn in (0x00BBGGRR): selected from the
    // option's state, focused when the option's widget has the focus.
    ListCellColours::Pair coloursFor(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const;
    // The palette's text, base, highlight and highlighted-text colours.
    static ListCellColours::System systemColours(const QPalette& palette);

    void setGaugeColours(const QColor& frame, const QColor& fill);
    QColor gaugeFrameColour() const { return m_gaugeFrame; }
    QColor gaugeFillColour() const { return m_gaugeFill; }

    // Paints a gauge into the cell rectangle, the label in the painter's
    // font, drawn twice: clipped to the filled part and to the rest.
    static void paintGauge(QPainter* painter, const QRect& cell, int percent, const QString& label,
                           const GaugeLook& look);

private:
    // What a cell's size depends on besides the view's option.
    struct Look {
        QString text;
        int column;
        int kind;
        // Qt::CheckState, or -1 without a check box.
        int check;
        bool operator==(const Look&) const = default;
    };
    friend size_t qHash(const Look& look, size_t seed)
    {
        return qHashMulti(seed, look.text, look.column, look.kind, look.check);
    }
    struct Measured {
        std::unique_ptr<QStyleOptionViewItem> option;
        QHash<Look, QSize> sizes;
    };

    QColor m_gaugeFrame{0x80, 0x80, 0x80};
    QColor m_gaugeFill{0x00, 0x00, 0x80};
    // While a MeasureOnce lives.
    mutable std::unique_ptr<Measured> m_measured;
};
