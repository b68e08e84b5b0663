#include "platform/Clock.h"

namespace {
std::function<QDate()>& Source()
{
    static std::function<QDate()> source;
    return source;
}
} // namespace

QDate Clock::Today()
{
    return Source() ? Source()() : QDate::currentDate();
}

void Clock::SetTodaySource(std::function<QDate()> source)
{
    Source() = std::move(source);
}
