#!/usr/bin/python3
# A machine control's list manager adapter: takes Barlink's rows on the session bus by serving
# the interface org.barlink.ListManager.xml describes. Needs python3-gi. Run it, then set
# ListManagerService=org.example.Control.ListManager in Barlink's settings file.
import sys
from gi.repository import Gio, GLib

XML = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/dbus-1/interfaces/org.barlink.ListManager.xml"
NAME = sys.argv[2] if len(sys.argv) > 2 else "org.example.Control.ListManager"
node = Gio.DBusNodeInfo.new_for_xml(open(XML).read())
rows = []  # stands for the control's own list
LIST, ERROR = "/ExeList/1", "org.barlink.ListManager.Error.E"

def call(bus, sender, path, interface, method, args, reply):
    args = args.unpack()
    if method in ("NewList", "OpenList"):
        return reply.return_value(GLib.Variant("(o)", (LIST,)))
    if method == "AddLine":
        rows.append(args[0])  # here the control takes the row
        bus.emit_signal(None, LIST, interface, "RowsAdded", GLib.Variant("(ii)", (len(rows), 1)))
    elif method == "GetLine" and 1 <= args[0] <= len(rows):
        return reply.return_value(GLib.Variant("(s)", (rows[args[0] - 1],)))
    elif method in ("ClearList", "Clear"):
        rows.clear()
        bus.emit_signal(None, LIST, "org.barlink.ListManager.ExeList", "ListReset", GLib.Variant("(i)", (0,)))
    elif method == "GetLine":
        return reply.return_dbus_error(ERROR + "9", "Subscript out of range")
    elif method not in ("StartList", "HoldList", "EndList", "Setpoint"):
        return reply.return_dbus_error(ERROR + "438", method + " is not supported")
    reply.return_value(None)

def get(bus, sender, path, interface, name):
    values = {"Rows": ("i", len(rows)), "ListInRun": ("b", False), "ExeRow": ("i", 0),
              "ListOpened": ("n", 1), "Connected": ("b", True), "Visible": ("b", True)}
    return GLib.Variant(*values[name]) if name in values else None

def serve(bus, name):
    for path, interface in (("/Application", 0), (LIST, 1), ("/LateBoundList", 2)):
        bus.register_object(path, node.interfaces[interface], call, get, None)

Gio.bus_own_name(Gio.BusType.SESSION, NAME, Gio.BusNameOwnerFlags.NONE, serve, None, None)
GLib.MainLoop().run()
