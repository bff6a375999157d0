#pragma once

#include "gui/TextSizeMeasurer.h"
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
    // where most hold the same names then costs a measure per name. The
    // sizes stay for the column's next fit, so that a folder opened again,
    // whose names are mostly those of the last one, measures only what is
    // new; what neither that fit nor the one before used is let go. Sizes
    // asked with another option than the one the kept sizes were measured
    // with are measured anew (and the kept ones forgotten).
    class MeasureOnce {
    public:
        explicit MeasureOnce(const ListViewDelegate& delegate);
        ~MeasureOnce();
        MeasureOnce(const MeasureOnce&) = delete;
        MeasureOnce& operator=(const MeasureOnce&) = delete;

    private:
        const ListViewDelegate& m_delegate;
    };
    // Forgets the kept sizes: the view's style changed, or anything else
    // that the option does not show.
    void forgetSizes() const;
    // Texts laid out ahead (see TextSizeMeasurer), for the MeasureOnce to
    // come. A cell whose text is among them is not measured by the style
    // once the style has been seen to measure cells like it (same kind,
    // check box and text height) as their text's width rounded up plus
    // fixed margins: two such cells of different widths must have agreed.
    // A size that would widen the column beyond the widest cell it has
    // measured in this fit is still measured, and so is one in CheckEvery.
    void useLaidOutTexts(TextSizeMeasurer::Sizes laidOut) const;
    // A size taken from a laid-out text has turned out other than the
    // style's since the last call. The kept sizes of every column are then
    // forgotten, and the columns fitted meanwhile must be fitted again: the
    // style is asked for every cell like the one that differed from then on.
    bool takeWrongGuess() const;
    static constexpr int CheckEvery = 32;

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
        // CP932, as the list holds it.
        QByteArray text;
        int kind;
        // Qt::CheckState, or -1 without a check box.
        int check;
        bool operator==(const Look&) const = default;
    };
    friend size_t qHash(const Look& look, size_t seed)
    {
        return qHashMulti(seed, look.text, look.kind, look.check);
    }
    // One column's sizes: those its last fit used, and those of the fit
    // before, kept until its next fit.
    struct ColumnSizes {
        QHash<Look, QSize> used;
        QHash<Look, QSize> earlier;
        // The fit under way has begun with this column.
        bool fitting = false;
        // The widest cell of the fit under way.
        int widest = 0;
    };
    // Cells the style measures alike (see useLaidOutTexts).
    struct TextClass {
        int kind;
        int check;
        // The laid-out text's height, rounded up.
        int textHeight;
        bool operator==(const TextClass&) const = default;
    };
    friend size_t qHash(const TextClass& cells, size_t seed)
    {
        return qHashMulti(seed, cells.kind, cells.check, cells.textHeight);
    }
    // What the style adds to a laid-out text of a class.
    struct Margins {
        enum class State { Unknown, Seen, Trusted, Distrusted };
        State state = State::Unknown;
        int extraWidth = 0;
        int height = 0;
        // The rounded text width of the cell first seen.
        int seenWidth = 0;
        // Sizes taken from the layout since the style was last asked.
        int untested = 0;
    };
    struct Measured {
        // The view's option the sizes go with, and the style that measured.
        std::unique_ptr<QStyleOptionViewItem> option;
        const QStyle* style = nullptr;
        QHash<int, ColumnSizes> columns;
        QHash<TextClass, Margins> margins;
    };
    bool measuredWith(const QStyleOptionViewItem& option, const QStyle* style) const;
    // The size of a cell the kept sizes do not hold.
    QSize measure(const QStyleOptionViewItem& option, const QModelIndex& index, const Look& look,
                  int widest) const;
    // Compares the style's size of a cell with its laid-out text's width.
    void learn(Margins& margins, const QSize& size, int textWidth) const;

    QColor m_gaugeFrame{0x80, 0x80, 0x80};
    QColor m_gaugeFill{0x00, 0x00, 0x80};
    mutable Measured m_measured;
    mutable TextSizeMeasurer::Sizes m_laidOut;
    mutable bool m_wrongGuess = false;
    // While a MeasureOnce lives.
    mutable bool m_measuring = false;
};
