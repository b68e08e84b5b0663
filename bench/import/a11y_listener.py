#!/usr/bin/python3
# An assistive-technology client on the accessibility bus, as a screen reader
# is: it listens to the window's name, text and state changes and writes one
# line per event (type, then what it carries) to the file given.
import sys

import pyatspi

out = open(sys.argv[1], 'w', buffering=1)


def on_event(event):
    out.write('%s\t%s\n' % (event.type, event.any_data))


for kind in ('object:property-change:accessible-name', 'object:text-changed', 'object:state-changed', 'window'):
    pyatspi.Registry.registerEventListener(on_event, kind)
pyatspi.Registry.start()
