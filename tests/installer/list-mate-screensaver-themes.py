#!/usr/bin/python3
# Prints the screen savers mate-screensaver offers, one per line: the theme id
# (the desktop-file id without ".desktop"), a tab and the command. The list
# comes from the host's own menu library and menu file, so it is exactly the
# list the host builds.
import gi

gi.require_version("MateMenu", "2.0")
from gi.repository import MateMenu  # noqa: E402


def walk(directory):
    it = directory.iter()
    while True:
        kind = it.next()
        if kind == MateMenu.TreeItemType.INVALID:
            return
        if kind == MateMenu.TreeItemType.ENTRY:
            entry = it.get_entry()
            theme = entry.get_desktop_file_id().removesuffix(".desktop")
            print(f"{theme}\t{entry.get_app_info().get_commandline()}")
        elif kind == MateMenu.TreeItemType.DIRECTORY:
            walk(it.get_directory())


tree = MateMenu.Tree.new("mate-screensavers.menu", MateMenu.TreeFlags.NONE)
tree.load_sync()
walk(tree.get_root_directory())
