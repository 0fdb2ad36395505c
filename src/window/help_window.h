// A window that shows the user guide, with a find row under it.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QVBoxLayout;

namespace pellimar {

class HelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the guide (a Markdown file), or says where it was looked for.
    void ShowGuide(const QString& path);

private:
    void AddFindRow(QVBoxLayout& layout);
    void AddFindKeys();
    // Selects the next place that holds the find box's text, in any letter
    // case, after the selection (before it, backwards), going round past
    // the end; says so beside the box when there is none.
    void FindAgain(bool backwards);

    QTextBrowser* browser_;
    QLineEdit* findBox_ = nullptr;
    QLabel* findStatus_ = nullptr;
};

}  // namespace pellimar
