#include "InsertObjectDialog.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ByteString.h"
#include "LibraryState.h"

namespace scrivoole {

InsertObjectDialog::InsertObjectDialog(QWidget* parent,
                                       const std::vector<platform::ServerEntry>& servers)
    : QDialog(parent),
      m_createNew(new QRadioButton(tr("Create New"), this)),
      m_fromFile(new QRadioButton(tr("Create from File"), this)),
      m_types(new QListWidget(this)),
      m_file(new QLineEdit(this)),
      m_browse(new QPushButton(tr("Browse..."), this)),
      m_ok(new QPushButton(tr("OK"), this)) {
    setObjectName("frmInsertObject");
    setWindowTitle(tr("Insert Object"));
    setModal(true);
    m_createNew->setObjectName("optCreateNew");
    m_fromFile->setObjectName("optCreateFromFile");
    m_types->setObjectName("lstObjectType");
    m_file->setObjectName("txtFile");
    m_browse->setObjectName("cmdBrowse");
    m_ok->setObjectName("cmdOK");
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName("cmdCancel");

    for (const auto& server : servers) {
        const std::string& shown =
            server.displayName.empty() ? server.className : server.displayName;
        auto* entry = new QListWidgetItem(QString::fromLocal8Bit(shown.c_str()), m_types);
        entry->setData(Qt::UserRole, QByteArray::fromStdString(server.className));
    }
    if (m_types->count() > 0) m_types->setCurrentRow(0);
    m_createNew->setChecked(true);

    auto* choices = new QVBoxLayout;
    choices->addWidget(m_createNew);
    choices->addWidget(m_fromFile);
    choices->addStretch();
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file);
    fileRow->addWidget(m_browse);
    auto* details = new QVBoxLayout;
    details->addWidget(new QLabel(tr("Object Type:"), this));
    details->addWidget(m_types);
    details->addWidget(new QLabel(tr("File:"), this));
    details->addLayout(fileRow);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(details, 1);
    layout->addLayout(buttons);

    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_browse, &QPushButton::clicked, this, &InsertObjectDialog::browse);
    connect(m_createNew, &QRadioButton::toggled, this, &InsertObjectDialog::updateState);
    connect(m_types, &QListWidget::currentRowChanged, this, &InsertObjectDialog::updateState);
    connect(m_file, &QLineEdit::textChanged, this, &InsertObjectDialog::updateState);
    updateState();
}

void InsertObjectDialog::browse() {
    const auto& hooks = state().hooks;
    QString file;
    if (hooks.chooseFile) {
        ScrivoString chosen = hooks.chooseFile(hooks.context);
        if (!chosen) return;
        file = QString::fromLocal8Bit(std::string(argument(chosen)).c_str());
        freeString(chosen);
    } else {
        file = QFileDialog::getOpenFileName(this, tr("Browse"));
        if (file.isEmpty()) return;
    }
    m_fromFile->setChecked(true);
    m_file->setText(file);
}

void InsertObjectDialog::updateState() {
    const bool createNew = m_createNew->isChecked();
    m_types->setEnabled(createNew);
    m_file->setEnabled(!createNew);
    m_browse->setEnabled(!createNew);
    m_ok->setEnabled(createNew ? m_types->currentItem() != nullptr : !m_file->text().isEmpty());
}

platform::InsertChoice InsertObjectDialog::choice() const {
    platform::InsertChoice c;
    if (m_createNew->isChecked()) {
        if (auto* current = m_types->currentItem())
            c.className = current->data(Qt::UserRole).toByteArray().toStdString();
    } else {
        c.file = m_file->text().toLocal8Bit().toStdString();
    }
    return c;
}

}  // namespace scrivoole
