#!/usr/bin/python3
"""What a screen reader hears of setip's window: the built program on an Xvfb of its own, with a private session bus
and the AT-SPI registry on it, walked with pyatspi, through which Orca reads windows.

    accessibility_test.py SETIP

Debian's pyatspi is for Debian's own Python, hence /usr/bin/python3 above whatever python3 comes first on PATH.
"""
import collections
import os
import shutil
import subprocess
import sys
import tempfile
import time

Row = collections.namedtuple("Row", "shows control role name labelled_by description enabled")

# The window's children in the order Qt made them, which is tab-index order. Qt on Linux names a list by its current
# item, as desktop lists are named, and a screen reader takes its label from the labelled-by relation; a list whose
# current item is empty is named by its own accessible name.
SET_IP_DESCRIPTION = "Sends the set-address command with the new IP address to the printer over the chosen port"
ROWS = [
    Row("the port label", "Label1", "label", "Select Port:", None, "", True),
    Row("the port list, labelled and showing its pick", "Combo1", "combo box", "ETHERNET", "Select Port:", "", True),
    Row("the IP label", "Label2", "label", "IP:", None, "", True),
    Row("the driver label", "Label3", "label", "Driver:", None, "", True),
    Row("the driver list, empty with no printer, named, off", "Combo2", "combo box", "Driver", "Driver:", "", False),
    Row("the baud-rate label", "Label4", "label", "Baudrate:", None, "", True),
    Row("the baud-rate list, labelled, off", "Combo3", "combo box", "19200", "Baudrate:", "", False),
    Row("the button, saying what it sends", "Command5", "push button", "Set IP", None, SET_IP_DESCRIPTION, True),
    Row("the present-address box, named after its label", "Text1", "text", "IP", "IP:", "", True),
    Row("the new-address box, which has no label, named", "Text2", "text", "New IP address", None, "", True),
]

DEADLINE = 30  # seconds for the X server, the buses and the window to come up


def find_window(deadline):
    import pyatspi
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is not None and application.name == "setip" and application.childCount > 0:
                window = application.getChildAtIndex(0)
                if window.childCount == len(ROWS):
                    return window
        time.sleep(0.1)
    sys.exit("setip's window did not reach the accessibility registry in time")


def heard(child):
    import pyatspi
    labels = [relation.getTarget(0).name for relation in child.getRelationSet()
              if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    return {"role": child.getRoleName(), "name": child.name, "labelled_by": labels[0] if labels else None,
            "description": child.description, "enabled": child.getState().contains(pyatspi.STATE_ENABLED)}


def walk(program, runtime):
    deadline = time.monotonic() + DEADLINE
    # No printer: the driver list stays empty whatever print server this machine runs.
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       CUPS_SERVER=os.path.join(runtime, "no-print-server.sock"))
    window = subprocess.Popen([program], env=environment)
    try:
        children = find_window(deadline)
        failures = []
        for index, row in enumerate(ROWS):
            got = heard(children.getChildAtIndex(index))
            for field, value in got.items():
                if getattr(row, field) != value:
                    failures.append(f"{row.shows} ({row.control}): {field} should be {getattr(row, field)!r}, "
                                    f"a screen reader hears {value!r}")
        print("\n".join(failures) or f"{len(ROWS)} controls heard as expected")
        return 1 if failures else 0
    finally:
        window.terminate()
        window.wait(timeout=10)


def main():
    program = sys.argv[1]
    if os.environ.get("SETIP_PRIVATE_BUS") == "1":
        return walk(program, os.environ["XDG_RUNTIME_DIR"])
    # Run again on an X server and a session bus of its own; the bus starts the accessibility bus and its registry on
    # demand and ends them with it, so the machine's own session and accessibility bus are never asked.
    runtime = tempfile.mkdtemp(prefix="setip-a11y-")
    try:
        environment = {name: value for name, value in os.environ.items()
                       if name not in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "DISPLAY")}
        environment.update(SETIP_PRIVATE_BUS="1", XDG_RUNTIME_DIR=runtime)
        with_xvfb = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "with-xvfb")
        return subprocess.run([with_xvfb, "dbus-run-session", "--", sys.executable, os.path.abspath(__file__), program],
                              env=environment, timeout=2 * DEADLINE).returncode
    finally:
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
