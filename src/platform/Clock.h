#pragma once

#include <QDate>
#include <QDateTime>
#include <functional>

// "Today" for the report pickers and "now" for the import log. Tests replace
// the sources to pin them.
namespace Clock {
QDate Today();
void SetTodaySource(std::function<QDate()> source); // empty function: the system clock
QDateTime NowUtc();
void SetNowSource(std::function<QDateTime()> source); // empty function: the system clock
} // namespace Clock
