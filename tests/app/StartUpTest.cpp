// What the window's entry decides before Qt's window system starts.
#include "app/StartUp.h"

#include <QMap>
#include <gtest/gtest.h>

TEST(StartUp, DisplayAvailableReadsThePlatformTheDisplaysAndQtsOptions)
{
    const struct
    {
        const char* Name;
        QStringList Arguments;
        QMap<QByteArray, QByteArray> Environment;
        bool Available;
    } cases[] = {
        {"nothing set", {"kestrum"}, {}, false},
        {"an X display", {"kestrum"}, {{"DISPLAY", ":0"}}, true},
        {"a Wayland display", {"kestrum"}, {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {"an empty DISPLAY", {"kestrum"}, {{"DISPLAY", ""}}, false},
        {"offscreen needs none", {"kestrum"}, {{"QT_QPA_PLATFORM", "offscreen"}}, true},
        {"a platform with options", {"kestrum"}, {{"QT_QPA_PLATFORM", "vnc:size=800x600"}}, true},
        {"xcb without DISPLAY", {"kestrum"}, {{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "w"}}, false},
        {"wayland without its display",
         {"kestrum"},
         {{"QT_QPA_PLATFORM", "wayland-egl"}, {"DISPLAY", ":0"}},
         false},
        {"a list falls back to xcb",
         {"kestrum"},
         {{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":0"}},
         true},
        {"-platform beats the variable",
         {"kestrum", "-platform", "offscreen"},
         {{"QT_QPA_PLATFORM", "xcb"}},
         true},
        {"--platform as well", {"kestrum", "--platform", "xcb"}, {{"QT_QPA_PLATFORM", "offscreen"}}, false},
        {"-display names one", {"kestrum", "-display", ":1"}, {}, true},
        {"a trailing -platform has no value", {"kestrum", "-platform"}, {}, false},
    };
    for (const auto& c : cases) {
        const auto environment = [&](const char* name) { return c.Environment.value(name); };
        EXPECT_EQ(DisplayAvailable(c.Arguments, environment), c.Available) << c.Name;
    }
}

TEST(StartUp, TextOnlyRequestsAreSeenUpToADoubleDash)
{
    const struct
    {
        QStringList Arguments;
        bool TextOnly;
    } cases[] = {
        {{"kestrum"}, false},
        {{"kestrum", "--help"}, true},
        {{"kestrum", "--database", "a.db3", "-h"}, true},
        {{"kestrum", "-?"}, true},
        {{"kestrum", "--help-all"}, true},
        {{"kestrum", "--version"}, true},
        {{"kestrum", "-v"}, true},
        {{"kestrum", "--database", "--", "--help"}, false},
        {{"kestrum", "--helpful"}, false},
        {{"--help"}, false}, // the program's own name
    };
    for (const auto& c : cases)
        EXPECT_EQ(AsksForTextOnly(c.Arguments), c.TextOnly) << c.Arguments.join(' ').toStdString();
}
