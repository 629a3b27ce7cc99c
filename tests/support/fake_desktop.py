#!/usr/bin/python3
"""Fake desktop services on the session bus of DBUS_SESSION_BUS_ADDRESS, for tests.

    fake_desktop.py --log FILE [--idle-file FILE] [--trigger-file FILE]
                    [--bind-response N] SERVICE...

SERVICE is any of:
  mutter                   org.gnome.Mutter.IdleMonitor, GetIdletime (milliseconds, 't')
  screensaver              org.freedesktop.ScreenSaver, GetSessionIdleTime (milliseconds, 'u')
  screensaver-unsupported  the same name, answering GetSessionIdleTime with NotSupported, as
                           KDE Plasma does under Wayland
  portal                   org.freedesktop.portal.Desktop with GlobalShortcuts (version 1) and
                           the host application registry

Every call is appended to the log as one line: "Interface.Method argument...". The idle time
is read from the idle file (milliseconds) at each call, 0 while it is missing. When the
trigger file appears the portal emits Activated for every bound shortcut of another session
(which a client must ignore), then for every bound shortcut, and removes the file.
BindShortcuts answers with the response code --bind-response (0 by default: bound). Prints
"ready" once every name is owned.
"""
import argparse
import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PORTAL_PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"
REQUEST = "org.freedesktop.portal.Request"


class Recorder:
    def __init__(self, log, idle_file):
        self.log = log
        self.idle_file = idle_file

    def record(self, *parts):
        with open(self.log, "a", encoding="utf-8") as out:
            out.write(" ".join(str(part) for part in parts) + "\n")

    def idle_milliseconds(self):
        try:
            with open(self.idle_file, encoding="utf-8") as source:
                return int(source.read().strip() or 0)
        except (OSError, TypeError, ValueError):
            return 0


class IdleMonitor(dbus.service.Object):
    def __init__(self, bus, recorder):
        super().__init__(bus, "/org/gnome/Mutter/IdleMonitor/Core")
        self.recorder = recorder

    @dbus.service.method("org.gnome.Mutter.IdleMonitor", out_signature="t")
    def GetIdletime(self):
        self.recorder.record("IdleMonitor.GetIdletime")
        return dbus.UInt64(self.recorder.idle_milliseconds())


class NotSupported(dbus.DBusException):
    _dbus_error_name = "org.freedesktop.DBus.Error.NotSupported"


class ScreenSaver(dbus.service.Object):
    def __init__(self, bus, recorder, supported):
        super().__init__(bus, "/org/freedesktop/ScreenSaver")
        self.recorder = recorder
        self.supported = supported

    @dbus.service.method("org.freedesktop.ScreenSaver", out_signature="u")
    def GetSessionIdleTime(self):
        self.recorder.record("ScreenSaver.GetSessionIdleTime")
        if not self.supported:
            raise NotSupported("GetSessionIdleTime is not supported on this platform")
        return dbus.UInt32(self.recorder.idle_milliseconds())


class Request(dbus.service.Object):
    """One portal request: answers with Response shortly after the method has returned."""

    def __init__(self, bus, path, response, results):
        super().__init__(bus, path)
        self.response = response
        self.results = results
        GLib.idle_add(self.answer)

    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, response, results):
        pass

    def answer(self):
        self.Response(dbus.UInt32(self.response), self.results)
        self.remove_from_connection()
        return False


def sender_part(sender):
    return sender[1:].replace(".", "_")


def describe(value):
    """A D-Bus value as plain Python text for the log."""
    if isinstance(value, (dbus.Dictionary, dict)):
        return "{" + ", ".join(
            f"{describe(k)}: {describe(v)}" for k, v in sorted(value.items())) + "}"
    if isinstance(value, (dbus.Array, dbus.Struct, list, tuple)):
        return "[" + ", ".join(describe(v) for v in value) + "]"
    if isinstance(value, (dbus.String, dbus.ObjectPath, str)):
        return repr(str(value))
    return str(value)


class Portal(dbus.service.Object):
    def __init__(self, bus, recorder, trigger_file, bind_response):
        super().__init__(bus, PORTAL_PATH)
        self.bus = bus
        self.recorder = recorder
        self.trigger_file = trigger_file
        self.bind_response = bind_response
        self.bound = []  # (session, shortcut id)
        self.sessions = set()
        if trigger_file:
            GLib.timeout_add(20, self.watch_trigger)

    def request_path(self, sender, options):
        token = str(options.get("handle_token", "t%d" % len(self.sessions)))
        return f"{PORTAL_PATH}/request/{sender_part(sender)}/{token}"

    @dbus.service.method("org.freedesktop.host.portal.Registry", in_signature="sa{sv}",
                         sender_keyword="sender")
    def Register(self, app_id, options, sender=None):
        self.recorder.record("Registry.Register", describe(app_id))

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o",
                         sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        self.recorder.record("GlobalShortcuts.CreateSession", describe(options))
        token = str(options.get("session_handle_token", "s%d" % len(self.sessions)))
        session = f"{PORTAL_PATH}/session/{sender_part(sender)}/{token}"
        self.sessions.add(session)
        path = self.request_path(sender, options)
        Request(self.bus, path, 0, {"session_handle": dbus.String(session)})
        return dbus.ObjectPath(path)

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent_window, options, sender=None):
        self.recorder.record("GlobalShortcuts.BindShortcuts", describe(session),
                             describe(shortcuts), describe(parent_window), describe(options))
        path = self.request_path(sender, options)
        results = {}
        if self.bind_response == 0 and str(session) in self.sessions:
            bound = []
            for shortcut_id, properties in shortcuts:
                self.bound.append((str(session), str(shortcut_id)))
                trigger = str(properties.get("preferred_trigger", ""))
                bound.append(dbus.Struct((shortcut_id, {
                    "description": properties.get("description", dbus.String("")),
                    "trigger_description": dbus.String(trigger)}), signature="sa{sv}"))
            results["shortcuts"] = dbus.Array(bound, signature="(sa{sv})")
        Request(self.bus, path, self.bind_response, dbus.Dictionary(results, signature="sv"))
        return dbus.ObjectPath(path)

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut_id, timestamp, options):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        self.recorder.record("Properties.Get", interface, name)
        if interface == SHORTCUTS and name == "version":
            return dbus.UInt32(1, variant_level=1)
        raise dbus.DBusException("no such property",
                                 name="org.freedesktop.DBus.Error.UnknownProperty")

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        self.recorder.record("Properties.GetAll", interface)
        if interface == SHORTCUTS:
            return {"version": dbus.UInt32(1)}
        return {}

    def watch_trigger(self):
        if os.path.exists(self.trigger_file):
            os.remove(self.trigger_file)
            # A shortcut of the same name in another program's session comes first: it is not
            # this program's.
            for _, shortcut_id in self.bound:
                self.Activated(dbus.ObjectPath(f"{PORTAL_PATH}/session/1_999/other"), shortcut_id,
                               dbus.UInt64(1000), dbus.Dictionary({}, signature="sv"))
            for session, shortcut_id in self.bound:
                self.recorder.record("emit Activated", describe(shortcut_id))
                self.Activated(dbus.ObjectPath(session), shortcut_id, dbus.UInt64(1234),
                               dbus.Dictionary({}, signature="sv"))
        return True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--log", required=True)
    parser.add_argument("--idle-file")
    parser.add_argument("--trigger-file")
    parser.add_argument("--bind-response", type=int, default=0)
    parser.add_argument("services", nargs="*")
    args = parser.parse_args()
    known = {"mutter", "screensaver", "screensaver-unsupported", "portal"}
    if not set(args.services) <= known:
        parser.error("unknown service: " + " ".join(sorted(set(args.services) - known)))

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    recorder = Recorder(args.log, args.idle_file)
    keep = []
    for service in args.services:
        if service == "mutter":
            keep.append(dbus.service.BusName("org.gnome.Mutter.IdleMonitor", bus))
            keep.append(IdleMonitor(bus, recorder))
        elif service.startswith("screensaver"):
            keep.append(dbus.service.BusName("org.freedesktop.ScreenSaver", bus))
            keep.append(ScreenSaver(bus, recorder, service == "screensaver"))
        elif service == "portal":
            keep.append(dbus.service.BusName("org.freedesktop.portal.Desktop", bus))
            keep.append(Portal(bus, recorder, args.trigger_file, args.bind_response))
    open(args.log, "a", encoding="utf-8").close()
    print("ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    sys.exit(main())
