#pragma once

#include "app/PagePreviewModel.h"
#include "gui/DialogBase.h"

#include <QImage>
#include <QPixmap>
#include <memory>

class Quillon;
class CatalogueListBinding;

namespace Ui {
class PagePreviewDialog;
}

// The page preview: the pages of one scene's scripts as they will print,
// one at a time. A combo of the scripts the scene prints (its characters,
// then the director's copy when that is printed), "前へ" and "次へ" (also
// PageUp and PageDown), the page number "n / m ページ" (a read-only field,
// which a screen reader reads as its value), three zooms ("ページ全体",
// "幅に合わせる", "100%") and the page in a scroll area, drawn in the
// screen's own pixels. Esc closes it.
//
// It is modeless, so that the list and the print settings stay at hand
// while it is open: the main window turns it to another scene and tells it
// when the settings may have changed (refreshOver). There is at most one
// per main window, which owns it.
class PagePreviewDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int ScriptComboId = 1102;
    static constexpr int PreviousId = 1103;
    static constexpr int NextId = 1104;
    static constexpr int PageLabelId = 1105;
    static constexpr int FitPageId = 1106;
    static constexpr int FitWidthId = 1107;
    static constexpr int ActualSizeId = 1108;
    static constexpr int PageAreaId = 1109;
    static constexpr int CloseId = 1110;

    enum class Zoom { FitPage, FitWidth, ActualSize };

    PagePreviewDialog(const Quillon& app, const CatalogueListBinding& rows, QWidget* owner);
    ~PagePreviewDialog() override;

    // Shows the preview of a row's scene over owner: the one already open
    // there turns to it, else one is opened. Null, with nothing opened,
    // when the row has no scene.
    static PagePreviewDialog* open(QWidget* owner, const Quillon& app,
                                   const CatalogueListBinding& rows, int row);
    // The preview open over owner, or null.
    static PagePreviewDialog* openOver(QWidget* owner);
    // Has the preview open over owner (if any) take the settings and the
    // list as they are now. Cheap when nothing changed.
    static void refreshOver(QWidget* owner);

    // Turns to the scene of a row (see PagePreviewModel::showRow).
    bool showRow(int row);
    void refresh();

    PagePreviewModel& model() { return m_model; }
    Zoom zoom() const { return m_zoom; }
    void setZoom(Zoom zoom);
    // The page shown, at its own size (null without a page).
    const QImage& pageImage() const { return m_page; }

    // The page at a size in logical pixels, drawn for a screen of the
    // given device pixel ratio: the pixmap has that ratio and the logical
    // size times it in pixels. Null for a null page or an empty size.
    static QPixmap pagePixmap(const QImage& page, const QSize& logicalSize, qreal ratio);
    // The device pixel ratio the page is drawn for; 0 (the default) takes
    // the one of the screen the window is on.
    void setPixelRatio(qreal ratio);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectControls();
    void fillScripts();
    void scriptChosen(int index);
    void turn(int step);
    // Draws the model's page (the model keeps the last few) and shows it.
    void showPage();
    // The page at the zoom, in the scroll area.
    void showScaled();
    qreal pixelRatio() const;

    std::unique_ptr<Ui::PagePreviewDialog> m_ui;
    PagePreviewModel m_model;
    Zoom m_zoom = Zoom::FitPage;
    QImage m_page;
    qreal m_pixelRatio = 0; // 0: the screen's
    bool m_filling = false; // the combo is being filled: no choice is made
};
