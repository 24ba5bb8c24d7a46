#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

// Runs check on the modal window once the caller's modal loop is up (null when none is up).
inline void WhenModal(std::function<void(QWidget*)> check)
{
    QTimer::singleShot(0, [check = std::move(check)] { check(QApplication::activeModalWidget()); });
}
