// Found before Qt's own header when a core library is compiled: every Qt Gui
// header includes this one, so the core stays free of the Gui library.
#error "The core links Qt Core only: Qt Gui belongs to src/app, src/viewer or src/platform/ui"
