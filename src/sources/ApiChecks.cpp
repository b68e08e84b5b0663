#include "sources/ApiChecks.h"

QString TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

void CheckConnectionFields(const TConnectionFields& fields)
{
    struct TRule
    {
        const QString& Text;
        TConnectionCheck Check;
        const char* Message;
    };
    const TRule rules[] = {
        {fields.ServerIP, TConnectionCheck::ServerIP, "No IP specified"},
        {fields.FilePort, TConnectionCheck::FilePort, "No File Port specified"},
        {fields.APIPath, TConnectionCheck::APIPath, "No API Path specified (default is \"api\")"},
        {fields.Password, TConnectionCheck::Password, "No API Password specified"},
    };
    for (const TRule& rule : rules) {
        if (TrimBlanks(rule.Text).isEmpty())
            throw TCheckFailure(rule.Check, QString::fromLatin1(rule.Message));
    }
}
