// Following the application's focus to see the window's history boxes left.
#include "window/box_exit_watch.h"

#include <QApplication>
#include <QWidget>
#include <utility>

namespace pellimar {

TBoxExitWatch::TBoxExitWatch(QWidget* window, BoxOf boxOf, OnExit onExit)
    : window_(window), boxOf_(std::move(boxOf)), onExit_(std::move(onExit))
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

void TBoxExitWatch::FocusChanged(QWidget* now)
{
    if (now == nullptr || now->window() != window_)
        return;
    THistoryComboBox* box = BoxHolding(now);
    if (box == inUse_)
        return;
    // The box in use changes before the exit runs, since the exit's own
    // work may move the focus again.
    if (THistoryComboBox* left = std::exchange(inUse_, box))
        onExit_(left);
}

// The focus may rest on a part of a box, such as its line edit.
THistoryComboBox* TBoxExitWatch::BoxHolding(QWidget* focus) const
{
    for (QWidget* widget = focus; widget != nullptr && widget != window_; widget = widget->parentWidget()) {
        if (THistoryComboBox* box = boxOf_(widget))
            return box;
    }
    return nullptr;
}

}  // namespace pellimar
