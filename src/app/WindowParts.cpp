#include "app/WindowParts.h"

#include "app/MessageBoxes.h"
#include "db/RakeDatabase.h"
#include "platform/Error.h"
#include "platform/SettingsStore.h"
#include "sources/ApiClient.h"

TWindowParts::TWindowParts(TMessageBoxes& boxes, TMainFormPlaces places)
    : Boxes(boxes), Places(std::move(places))
{
}

TWindowParts::~TWindowParts() = default;

void TWindowParts::Guard(const std::function<void()>& operation) const
{
    if (Waiting)
        return;
    try {
        operation();
    } catch (const TError& e) {
        Boxes.UnhandledError(e.Message());
    } catch (const std::exception& e) {
        Boxes.UnhandledError(QString::fromLocal8Bit(e.what()));
    }
}
