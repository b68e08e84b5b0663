#include "platform/Clock.h"

namespace {
std::function<QDate()>& Source()
{
    static std::function<QDate()> source;
    return source;
}

std::function<QDateTime()>& NowSource()
{
    static std::function<QDateTime()> source;
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

QDateTime Clock::NowUtc()
{
    return NowSource() ? NowSource()().toUTC() : QDateTime::currentDateTimeUtc();
}

void Clock::SetNowSource(std::function<QDateTime()> source)
{
    NowSource() = std::move(source);
}
