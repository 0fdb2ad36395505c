// Tells when the user has left one of a window's history boxes, whatever
// moved the focus away from it.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace pellimar {

class THistoryComboBox;

// A box is left when the focus reaches another control of its window. The
// focus passing to a popup (the box's own list, a menu), to a dialog or to
// another program decides nothing yet: back in the same box nothing has
// happened; back anywhere else in the window the box has been left. So a box
// given up for a dialog, whose command then moves the focus on, counts as
// left just as it does after Tab or a click.
class TBoxExitWatch : public QObject {
public:
    using BoxOf = std::function<THistoryComboBox*(QWidget*)>;
    using OnExit = std::function<void(THistoryComboBox*)>;

    TBoxExitWatch(QWidget* window, BoxOf boxOf, OnExit onExit);

private:
    void FocusChanged(QWidget* now);
    THistoryComboBox* BoxHolding(QWidget* focus) const;

    QWidget* window_;
    BoxOf boxOf_;
    OnExit onExit_;
    THistoryComboBox* inUse_ = nullptr;
};

}  // namespace pellimar
