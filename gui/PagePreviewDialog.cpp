#include "gui/PagePreviewDialog.h"

#include "gui/QtText.h"
#include "render/FCVSurface.h"
#include "ui_PagePreviewDialog.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QPixmap>
#include <QScrollBar>
#include <cstring>

namespace {

// The grey page image (rows stored bottom-up) as a Qt image, rows from the
// top.
QImage toImage(const FCVSurface& surface)
{
    QImage image(surface.width(), surface.height(), QImage::Format_Grayscale8);
    if (image.isNull())
        return image;
    for (int y = 0; y < surface.height(); ++y)
        std::memcpy(image.scanLine(y), surface.pixel(0, y), std::size_t(surface.width()));
    return image;
}

} // namespace

PagePreviewDialog::PagePreviewDialog(const Quillon& app, const CatalogueListBinding& rows,
                                     QWidget* owner)
    : DialogBase(owner), m_ui(std::make_unique<Ui::PagePreviewDialog>()), m_model(app, rows)
{
    m_ui->setupUi(this);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    connectControls();
    nameControlsByLabels(this);
    centre();
}

PagePreviewDialog::~PagePreviewDialog() = default;

PagePreviewDialog* PagePreviewDialog::open(QWidget* owner, const Quillon& app,
                                           const CatalogueListBinding& rows, int row)
{
    PagePreviewDialog* preview = openOver(owner);
    const bool made = !preview;
    if (made)
        preview = new PagePreviewDialog(app, rows, owner);
    if (!preview->showRow(row)) {
        if (made)
            delete preview;
        return nullptr;
    }
    preview->show();
    preview->raise();
    preview->activateWindow();
    return preview;
}

PagePreviewDialog* PagePreviewDialog::openOver(QWidget* owner)
{
    if (!owner)
        return nullptr;
    // A preview that was closed waits for its deletion hidden: it counts no
    // more.
    for (PagePreviewDialog* preview :
         owner->findChildren<PagePreviewDialog*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (preview->isVisible())
            return preview;
    }
    return nullptr;
}

void PagePreviewDialog::refreshOver(QWidget* owner)
{
    if (PagePreviewDialog* preview = openOver(owner))
        preview->refresh();
}

void PagePreviewDialog::connectControls()
{
    auto* zooms = new QButtonGroup(this);
    zooms->setExclusive(true);
    zooms->addButton(m_ui->fitPageButton, int(Zoom::FitPage));
    zooms->addButton(m_ui->fitWidthButton, int(Zoom::FitWidth));
    zooms->addButton(m_ui->actualSizeButton, int(Zoom::ActualSize));
    // The state, not the click: a screen reader or a test toggles a button
    // without clicking it.
    connect(zooms, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && Zoom(id) != m_zoom)
            setZoom(Zoom(id));
    });

    connect(m_ui->scriptCombo, &QComboBox::currentIndexChanged, this,
            &PagePreviewDialog::scriptChosen);
    connect(m_ui->previousButton, &QPushButton::clicked, this, [this] { turn(-1); });
    connect(m_ui->nextButton, &QPushButton::clicked, this, [this] { turn(1); });
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::reject);
    // PageUp and PageDown turn pages wherever the focus is in the window:
    // the page area and the combo would take them for themselves.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool PagePreviewDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
            turn(key == Qt::Key_PageDown ? 1 : -1);
            return true;
        }
    }
    return DialogBase::eventFilter(watched, event);
}

void PagePreviewDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_PageUp) {
        turn(event->key() == Qt::Key_PageDown ? 1 : -1);
        return;
    }
    DialogBase::keyPressEvent(event);
}

bool PagePreviewDialog::showRow(int row)
{
    if (!m_model.showRow(row))
        return false;
    fillScripts();
    showPage();
    return true;
}

void PagePreviewDialog::refresh()
{
    switch (m_model.refresh()) {
    case PagePreviewModel::Refresh::Unchanged:
        return;
    case PagePreviewModel::Refresh::Changed:
    case PagePreviewModel::Refresh::SceneGone:
        break;
    }
    fillScripts();
    showPage();
}

void PagePreviewDialog::fillScripts()
{
    m_filling = true;
    m_ui->scriptCombo->clear();
    for (const PagePreviewModel::Script& script : m_model.scripts())
        m_ui->scriptCombo->addItem(fromCp932(script.name.view()));
    m_ui->scriptCombo->setCurrentIndex(m_model.chosen());
    m_filling = false;
    const QString scene = fromCp932(m_model.sceneName().view());
    setWindowTitle(scene.isEmpty() ? QStringLiteral("プレビュー")
                                   : QStringLiteral("プレビュー - ") + scene);
}

void PagePreviewDialog::scriptChosen(int index)
{
    if (m_filling || !m_model.choose(index))
        return;
    showPage();
}

void PagePreviewDialog::turn(int step)
{
    if (m_model.setPage(m_model.page() + step))
        showPage();
}

void PagePreviewDialog::showPage()
{
    const std::shared_ptr<const FCVSurface> page = m_model.pageImage(m_model.page());
    m_page = page ? toImage(*page) : QImage();
    m_ui->pageField->setText(fromCp932(m_model.pageText().view()));
    m_ui->previousButton->setEnabled(m_model.page() > 0);
    m_ui->nextButton->setEnabled(m_model.page() + 1 < m_model.pageCount());
    showScaled();
}

void PagePreviewDialog::setZoom(Zoom zoom)
{
    m_zoom = zoom;
    QAbstractButton* button = zoom == Zoom::FitPage    ? m_ui->fitPageButton
                              : zoom == Zoom::FitWidth ? m_ui->fitWidthButton
                                                       : m_ui->actualSizeButton;
    button->setChecked(true);
    showScaled();
}

void PagePreviewDialog::showScaled()
{
    QLabel* view = m_ui->pageView;
    if (m_page.isNull()) {
        view->setPixmap(QPixmap());
        view->setText(fromCp932(m_model.noPageText()));
        view->resize(m_ui->pageArea->viewport()->size());
        return;
    }
    QSize size = m_page.size();
    const QSize room = m_ui->pageArea->maximumViewportSize();
    if (m_zoom == Zoom::FitPage) {
        size.scale(room, Qt::KeepAspectRatio);
    } else if (m_zoom == Zoom::FitWidth) {
        size = m_page.size().scaled(room.width(), 1 << 20, Qt::KeepAspectRatio);
        // A page taller than the room brings the vertical scroll bar, which
        // takes its width from the room.
        if (size.height() > room.height())
            size = m_page.size().scaled(room.width() -
                                            m_ui->pageArea->verticalScrollBar()->sizeHint().width(),
                                        1 << 20, Qt::KeepAspectRatio);
    }
    size = size.expandedTo(QSize(1, 1));
    view->setPixmap(pagePixmap(m_page, size, pixelRatio()));
    view->resize(size);
}

QPixmap PagePreviewDialog::pagePixmap(const QImage& page, const QSize& logicalSize, qreal ratio)
{
    if (page.isNull() || logicalSize.isEmpty())
        return {};
    if (!(ratio > 0))
        ratio = 1;
    // Scaled once, from the page itself, to the screen's own pixels: a
    // pixmap of the logical size would be scaled up again when painted on
    // a high-density screen and come out blurred.
    const QSize pixels(qMax(1, qRound(logicalSize.width() * ratio)),
                       qMax(1, qRound(logicalSize.height() * ratio)));
    const QImage shown = pixels == page.size()
                             ? page
                             : page.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(shown);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

void PagePreviewDialog::setPixelRatio(qreal ratio)
{
    m_pixelRatio = ratio > 0 ? ratio : 0;
    showScaled();
}

qreal PagePreviewDialog::pixelRatio() const
{
    return m_pixelRatio > 0 ? m_pixelRatio : devicePixelRatioF();
}

bool PagePreviewDialog::event(QEvent* event)
{
    // Moved to a screen of another pixel density: the page is drawn anew
    // for it.
    const bool handled = DialogBase::event(event);
    if (event->type() == QEvent::ScreenChangeInternal && !m_page.isNull())
        showScaled();
    return handled;
}

void PagePreviewDialog::resizeEvent(QResizeEvent* event)
{
    DialogBase::resizeEvent(event);
    if (m_zoom != Zoom::ActualSize)
        showScaled();
}
