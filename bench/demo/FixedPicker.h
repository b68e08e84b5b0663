#pragma once

#include "platform/ui/ShBrowseU.h"

// A folder picker that answers with one folder at once, for programs that
// drive the real window without a person.
class TFixedPicker : public TShBrowse
{
public:
    explicit TFixedPicker(QString folder) : FAnswer(std::move(folder)) {}
    bool Execute() override
    {
        FFolder = FAnswer;
        return true;
    }

private:
    QString FAnswer;
};
