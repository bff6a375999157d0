#include "gui/CharacterSelectionDialog.h"

#include "gui/QtText.h"
#include "ui_CharacterSelectionDialog.h"

CharacterSelectionDialog::CharacterSelectionDialog(QWidget* parent, CharacterSelectionModel& model)
    : DialogBase(parent), m_ui(std::make_unique<Ui::CharacterSelectionDialog>()), m_model(model),
      m_working(model)
{
    m_ui->setupUi(this);
    setWindowTitle(fromCp932(CharacterSelectionModel::title()));
    setSizeGripEnabled(true);

    CharacterSelectionModel::defineColumns(m_list);
    m_working.fillList(m_list);
    m_ui->listView->setList(&m_list);

    connect(m_ui->selectAllButton, &QPushButton::clicked, this,
            [this] { changeTicks([](CharacterSelectionModel& rows) { rows.selectAll(); }); });
    connect(m_ui->clearAllButton, &QPushButton::clicked, this,
            [this] { changeTicks([](CharacterSelectionModel& rows) { rows.clearAll(); }); });
    connect(m_ui->listView, &ListView::rowDoubleClicked, this, [this](int row) {
        changeTicks([row](CharacterSelectionModel& rows) { rows.toggle(row); });
    });
    connect(m_ui->okButton, &QPushButton::clicked, this, &CharacterSelectionDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    nameControlsByLabels(this);
    centre();
}

CharacterSelectionDialog::~CharacterSelectionDialog()
{
    // The view listens to the list, which goes before the view does.
    m_ui->listView->setList(nullptr);
}

bool CharacterSelectionDialog::run(QWidget* parent, CharacterSelectionModel& model)
{
    CharacterSelectionDialog dialog(parent, model);
    return dialog.exec() == QDialog::Accepted;
}

template <class Operation> void CharacterSelectionDialog::changeTicks(Operation operation)
{
    // The user may have ticked check boxes by hand since the last change.
    m_working.readTicks(m_list);
    operation(m_working);
    showTicks();
}

void CharacterSelectionDialog::showTicks()
{
    const std::vector<CharacterSelectionModel::Row>& rows = m_working.rows();
    for (int row = 0; row < m_working.rowCount() && row < m_list.rowCount(); ++row) {
        if (rows[size_t(row)].ticked)
            m_list.check(row);
        else
            m_list.uncheck(row);
    }
}

void CharacterSelectionDialog::accept()
{
    m_model.readTicks(m_list);
    QDialog::accept();
}
