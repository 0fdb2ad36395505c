// A window that shows the user guide.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace pellimar {

class HelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the guide (a Markdown file), or says where it was looked for.
    void ShowGuide(const QString& path);

private:
    QTextBrowser* browser_;
};

}  // namespace pellimar
