// The preview's list in a table.
#include "window/preview_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "window/byte_text.h"

namespace pellimar {
namespace {

QTableWidgetItem* Cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

PreviewDialog::PreviewDialog(const PreviewShown& preview, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(static_cast<int>(preview.references.size()), 3, this))
{
    const std::vector<PreviewReference>& references = preview.references;
    setWindowTitle("Preview");
    table_->setHorizontalHeaderLabels({"Line", "Reference", "Record"});
    table_->verticalHeader()->hide();
    table_->setWordWrap(false);
    for (int row = 0; row < table_->rowCount(); ++row) {
        const PreviewReference& reference = references[static_cast<std::size_t>(row)];
        table_->setItem(row, 0, Cell(QString::number(reference.line)));
        table_->setItem(row, 1, Cell(TextFromUtf8(reference.text)));
        table_->setItem(row, 2, Cell(TextFromUtf8(reference.recordStart)));
    }
    // The record's text takes what room is left, cut short with an ellipsis;
    // the line and the reference are shown whole.
    table_->setTextElideMode(Qt::ElideRight);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(TextFromUtf8(preview.heading), this));
    layout->addWidget(table_);
    if (!preview.note.empty()) {
        note_ = new QLabel(TextFromUtf8(preview.note), this);
        note_->setWordWrap(true);
        layout->addWidget(note_);
    }
    layout->addWidget(buttons);
    resize(680, 520);
}

}  // namespace pellimar
