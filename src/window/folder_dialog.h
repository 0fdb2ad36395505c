// The output-folder dialog: Qt's non-native folder dialog, answering with
// the folder the user typed or picked.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

namespace pellimar {

// What the dialog holds when the user chooses.
struct FolderDialogState {
    QString shown;        // the folder the dialog lists
    QString typed;        // the text of its name box
    QStringList entries;  // what Qt counts as chosen (selectedFiles())
};

// The folder the user chose: the name typed, whole or relative to the folder
// shown, and whether or not it exists; else one picked in the list; else the
// folder shown. Qt can count the folder shown among several entries while a
// full path is typed, so its first entry is not the answer.
QString ChosenFolder(const FolderDialogState& state);

class FolderDialog : public QFileDialog {
    Q_OBJECT

public:
    FolderDialog(QWidget* parent, const QString& title);

    // The answer once accepted.
    const QString& Chosen() const { return chosen_; }

public slots:
    // Takes the folder as chosen, without Qt's own test that it exists: a
    // folder that cannot take the outputs is refused, with its reason, by
    // the checks before the run.
    void accept() override;

private:
    QString chosen_;
};

}  // namespace pellimar
