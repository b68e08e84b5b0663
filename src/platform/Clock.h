#pragma once

#include <QDate>
#include <functional>

// "Today" for the report pickers. Tests replace the source to pin the date.
namespace Clock {
QDate Today();
void SetTodaySource(std::function<QDate()> source); // empty function: the system clock
} // namespace Clock
