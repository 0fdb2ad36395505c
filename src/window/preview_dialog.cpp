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

void AddRow(QTableWidget* table, const QString& first, const QString& second, const QString& third)
{
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, Cell(first));
    table->setItem(row, 1, Cell(second));
    table->setItem(row, 2, Cell(third));
}

// A row a reference, or for a collection a row a file, with a row under it
// for each line of its details.
void Fill(QTableWidget* table, const PreviewShown& preview)
{
    if (!preview.files.empty()) {
        table->setHorizontalHeaderLabels({"File", "References", "Note"});
        for (const PreviewFile& file : preview.files) {
            AddRow(table, TextFromUtf8(file.input), TextFromUtf8(file.counts),
                   TextFromUtf8(file.remark).replace('\r', ' '));
            for (const std::string& detail : file.details)
                AddRow(table, {}, {}, TextFromUtf8(detail));
        }
        return;
    }
    table->setRowCount(static_cast<int>(preview.references.size()));
    table->setHorizontalHeaderLabels({"Line", "Reference", "Record"});
    for (int row = 0; row < table->rowCount(); ++row) {
        const PreviewReference& reference = preview.references[static_cast<std::size_t>(row)];
        table->setItem(row, 0, Cell(QString::number(reference.line)));
        table->setItem(row, 1, Cell(TextFromUtf8(reference.text)));
        table->setItem(row, 2, Cell(TextFromUtf8(reference.recordStart)));
    }
}

}  // namespace

PreviewDialog::PreviewDialog(const PreviewShown& preview, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(0, 3, this))
{
    setWindowTitle(TextFromUtf8(preview.caption));
    table_->verticalHeader()->hide();
    table_->setWordWrap(false);
    Fill(table_, preview);
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
    if (!preview.levels.empty()) {
        levels_ = new QLabel(TextFromUtf8(preview.levels).replace('\r', '\n'), this);
        levels_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(levels_);
    }
    layout->addWidget(new QLabel(TextFromUtf8(preview.heading).replace('\r', '\n'), this));
    layout->addWidget(table_);
    if (!preview.note.empty()) {
        note_ = new QLabel(TextFromUtf8(preview.note).replace('\r', '\n'), this);
        note_->setWordWrap(true);
        layout->addWidget(note_);
    }
    layout->addWidget(buttons);
    resize(680, 520);
}

}  // namespace pellimar
