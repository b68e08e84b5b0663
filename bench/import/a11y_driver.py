#!/usr/bin/python3
# a11y_driver.py KESTRUM CORPUS DATABASE [top|walk]
#
# Drives the real program from outside, through the accessibility bus only, as
# an outside check or a screen reader's user does: lists CORPUS with "Get Hand
# History List" (typing the folder into the picker), shows both kinds of file,
# presses "Select All Files", then "Import Selected Files", and waits for the
# count box. Prints the program's processor time (every thread, user and
# system, from the kernel's own account) from the press until the box is seen,
# the part of it spent on each thread, and the box's text.
#
# The wait for the box: "top" asks the program for its top-level windows every
# 50 ms; "walk" searches the program's whole tree each time, as a generic test
# tool finding a button does.
import glob
import os
import subprocess
import sys
import time

import pyatspi

program, corpus, database = sys.argv[1:4]
wait_mode = sys.argv[4] if len(sys.argv) > 4 else 'top'
TICK = os.sysconf('SC_CLK_TCK')


def threads(pid):
    # Nanoseconds on a processor of each live thread, by name.
    out = {}
    for stat in glob.glob('/proc/%d/task/*/schedstat' % pid):
        task = os.path.dirname(stat)
        try:
            with open(task + '/comm') as f:
                name = f.read().strip()
            with open(stat) as f:
                out[os.path.basename(task) + ' ' + name] = int(f.read().split()[0]) / 1e9
        except (OSError, ValueError):
            pass
    return out


def whole(pid):
    # The process's user and system time, threads that ended included, in
    # clock ticks: the check on the finer sum of the live threads.
    with open('/proc/%d/stat' % pid) as f:
        fields = f.read().rsplit(')', 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def retry(what, seconds=30):
    end = time.monotonic() + seconds
    while True:
        try:
            found = what()
            if found is not None:
                return found
        except Exception:
            pass
        if time.monotonic() > end:
            raise SystemExit('a11y_driver: gave up waiting')
        time.sleep(0.05)


def find_app(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def named(root, name, role=None):
    return pyatspi.findDescendant(
        root, lambda a: a is not None and a.name == name and (role is None or a.getRole() == role))


def press(control):
    control.queryAction().doAction(0)


def box_text(app):
    # The count box: a top-level dialog of the program with an "OK" button.
    for window in app:
        if window is None or window.getRole() not in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT):
            continue
        if named(window, 'OK', pyatspi.ROLE_PUSH_BUTTON):
            labels = pyatspi.findAllDescendants(window, lambda a: a is not None and a.getRole() == pyatspi.ROLE_LABEL)
            return window, ' '.join(label.name for label in labels if label.name)
    return None


def walk_for_box(app):
    return box_text(app) if named(app, 'OK', pyatspi.ROLE_PUSH_BUTTON) else None


env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', QT_QPA_PLATFORM='xcb')
window = subprocess.Popen([program, '--database', database], env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
try:
    app = retry(lambda: find_app(window.pid))
    main = retry(lambda: app[0] if app.childCount else None)
    press(retry(lambda: named(main, 'Get Hand History List', pyatspi.ROLE_PUSH_BUTTON)))
    picker = retry(lambda: next((w for w in app if w is not None and w.getRole() == pyatspi.ROLE_DIALOG), None))
    retry(lambda: named(picker, 'Folder', pyatspi.ROLE_TEXT)).queryEditableText().setTextContents(corpus)
    press(retry(lambda: named(picker, 'OK', pyatspi.ROLE_PUSH_BUTTON)))
    retry(lambda: None if any(w is not None and w.getRole() == pyatspi.ROLE_DIALOG for w in app) else True)
    # Every file, rings and tournaments, as the command line imports them.
    both = named(main, 'Show Both', pyatspi.ROLE_RADIO_BUTTON)
    press(both)
    retry(lambda: True if both.getState().contains(pyatspi.STATE_CHECKED) else None)
    press(named(main, 'Select All Files', pyatspi.ROLE_PUSH_BUTTON))
    importer = named(main, 'Import Selected Files', pyatspi.ROLE_PUSH_BUTTON)
    time.sleep(0.5)
    before, whole_before = threads(window.pid), whole(window.pid)
    press(importer)
    found = retry(lambda: walk_for_box(app) if wait_mode == 'walk' else box_text(app), 600)
    after, whole_after = threads(window.pid), whole(window.pid)
    spent = {name: after[name] - before.get(name, 0) for name in after}
    seconds = sum(spent.values())
    if whole_after - whole_before > seconds + 0.02:
        seconds = whole_after - whole_before  # a thread ended within the span
    print('window cpu %.3f s  "%s"' % (seconds, found[1]))
    for name in sorted(spent, key=spent.get, reverse=True):
        if spent[name] >= 0.0005:
            print('  thread %-28s %.3f s' % (name, spent[name]))
    press(named(found[0], 'OK', pyatspi.ROLE_PUSH_BUTTON))
    retry(lambda: None if any(w is not None and w.getRole() == pyatspi.ROLE_DIALOG for w in app) else True, 5)
finally:
    window.terminate()
    window.wait()
