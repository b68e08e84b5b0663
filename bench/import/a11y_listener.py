#!/usr/bin/python3
# An assistive-technology client on the accessibility bus, as a screen reader
# is: it listens to the window's name, text and state changes and, for each,
# asks the program back what changed (the source's description and the text),
# writing one line per event to the file given: type, source, what it carries.
import sys

import pyatspi

out = open(sys.argv[1], 'w', buffering=1)


def on_event(event):
    try:
        source = event.source.description
    except Exception:
        source = '?'
    out.write('%s\t%s\t%s\n' % (event.type, source, event.any_data))


for kind in ('object:property-change:accessible-name', 'object:text-changed', 'object:state-changed', 'window'):
    pyatspi.Registry.registerEventListener(on_event, kind)
pyatspi.Registry.start()
