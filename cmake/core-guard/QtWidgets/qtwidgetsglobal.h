// Found before Qt's own header when a core library is compiled: every Qt
// Widgets header includes this one, so widgets stay out of the core.
#error "The core links Qt Core only: widgets belong to src/app, src/viewer or src/platform/ui"
