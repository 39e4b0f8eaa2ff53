"""Driving the installed program from the outside, as a user does.

The program is started as its own process with an empty home folder, the
stand-in PortMidi library first on LD_LIBRARY_PATH and the accessibility
bridge loaded; windows and widgets are found through AT-SPI by role and
label, pressed and typed into through their actions and text interfaces.
Clicks on the front-panel picture go through xdotool at the control
geometry. Every wait is for a condition, with a generous bound.
"""

import ctypes
import os
import shutil
import signal
import subprocess
import sys
import time

import pyatspi

# Generous bounds: a slow machine only makes the tests slower, never red.
TIMEOUT = 60.0
STEP = 0.1

TITLE = 'Halvorn CVQ9 Configuration software'


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=TIMEOUT):
    """Calls probe() until it returns something true; returns that."""
    end = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except Failure:
            raise
        except Exception as e:  # the tree changes under us: try again
            last_error = e
        if time.monotonic() > end:
            raise Failure('timed out waiting for %s%s' % (
                what, ' (last error: %r)' % last_error if last_error else ''))
        time.sleep(STEP)


def role(acc):
    try:
        return acc.getRoleName()
    except Exception:
        return ''


def name(acc):
    try:
        return acc.name or ''
    except Exception:
        return ''


def children(acc):
    try:
        return [c for c in acc if c is not None]
    except Exception:
        return []


def walk(acc):
    """Every accessible below acc, depth first."""
    stack = [acc]
    while stack:
        a = stack.pop()
        yield a
        stack.extend(reversed(children(a)))


def has_state(acc, state):
    try:
        return acc.getState().contains(state)
    except Exception:
        return False


def sensitive(acc):
    return has_state(acc, pyatspi.STATE_SENSITIVE)


def showing(acc):
    return has_state(acc, pyatspi.STATE_SHOWING)


def checked(acc):
    return has_state(acc, pyatspi.STATE_CHECKED)


def find_all(root, roles=None, label=None, only_showing=False):
    if isinstance(roles, str):
        roles = (roles,)
    found = []
    for a in walk(root):
        if roles and role(a) not in roles:
            continue
        if label is not None and name(a) != label:
            continue
        if only_showing and not showing(a):
            continue
        found.append(a)
    return found


def text_of(acc):
    try:
        t = acc.queryText()
        return t.getText(0, t.characterCount)
    except Exception:
        return name(acc)


def do_action(acc, index=0):
    acc.queryAction().doAction(index)


def extents(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def xdotool(*args):
    return subprocess.run(['xdotool'] + [str(a) for a in args], check=True,
                          capture_output=True, text=True).stdout


# The close box: what a window manager sends when it is clicked, a
# WM_DELETE_WINDOW client message to the window (there is no window manager
# under the virtual X server).
class _ClientMessage(ctypes.Structure):
    _fields_ = [('type', ctypes.c_int), ('serial', ctypes.c_ulong),
                ('send_event', ctypes.c_int), ('display', ctypes.c_void_p),
                ('window', ctypes.c_ulong), ('message_type', ctypes.c_ulong),
                ('format', ctypes.c_int), ('data', ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [('xclient', _ClientMessage), ('pad', ctypes.c_long * 24)]


def send_close_request(window_id):
    x = ctypes.CDLL('libX11.so.6')
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                             ctypes.c_long, ctypes.POINTER(_Event)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    check(display, 'cannot open the X display')
    event = _Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.send_event = 1
    event.xclient.display = display
    event.xclient.window = window_id
    event.xclient.message_type = x.XInternAtom(display, b'WM_PROTOCOLS', 0)
    event.xclient.format = 32
    event.xclient.data[0] = x.XInternAtom(display, b'WM_DELETE_WINDOW', 0)
    event.xclient.data[1] = 0  # CurrentTime
    x.XSendEvent(display, window_id, 0, 0, ctypes.byref(event))
    x.XFlush(display)
    x.XCloseDisplay(display)


class Context:
    """What every scenario gets: the installed program, the stand-in
    PortMidi, a scratch folder and the folder for its screenshots."""

    def __init__(self, prefix, libdir, scratch, artefacts, scenario):
        self.prefix = prefix
        self.libdir = libdir
        self.scratch = scratch
        self.artefacts = artefacts
        self.scenario = scenario
        self.home = os.path.join(scratch, 'home')
        os.makedirs(self.home, exist_ok=True)
        os.makedirs(artefacts, exist_ok=True)
        self.shots = 0
        self.program = None

    @property
    def binary(self):
        return os.path.join(self.prefix, 'bin', 'cvq9_config_soft')

    @property
    def settings_file(self):
        return os.path.join(self.home, '.cvq9_config_soft')

    def path(self, *parts):
        return os.path.join(self.scratch, *parts)

    def screenshot(self, label):
        self.shots += 1
        target = os.path.join(self.artefacts, '%02d-%s.png' % (self.shots, label))
        subprocess.run(['import', '-window', 'root', target], check=False,
                       capture_output=True)
        log('screenshot %s' % target)

    def start(self, **controller):
        """Starts the installed program; `controller` becomes the stand-in
        PortMidi's configuration (memory_in, silent, devices, ...)."""
        check(self.program is None or not self.program.running(),
              'the program is already running')
        self.program = Program(self, controller)
        return self.program


def log(text):
    sys.stdout.write('[e2e %s] %s\n' % (time.strftime('%H:%M:%S'), text))
    sys.stdout.flush()


class Program:
    def __init__(self, ctx, controller):
        self.ctx = ctx
        self.runs = getattr(ctx, 'runs', 0) + 1
        ctx.runs = self.runs
        run_dir = ctx.path('run%d' % self.runs)
        os.makedirs(run_dir, exist_ok=True)
        self.memory_out = os.path.join(run_dir, 'controller_memory.cvq')
        self.midi_log = os.path.join(run_dir, 'controller.log')
        config = {'memory_out': self.memory_out, 'log': self.midi_log}
        config.update(controller)
        self.config_file = os.path.join(run_dir, 'pmfake.conf')
        with open(self.config_file, 'w') as f:
            for key, value in config.items():
                f.write('%s = %s\n' % (key, value))
        env = dict(os.environ)
        for key in ('NO_AT_BRIDGE', 'GTK_A11Y', 'XDG_CONFIG_HOME'):
            env.pop(key, None)
        env['HOME'] = ctx.home
        env['GTK_MODULES'] = 'gail:atk-bridge'
        env['LD_LIBRARY_PATH'] = ctx.libdir
        env['CVQ9_PMFAKE_CONFIG'] = self.config_file
        env['LANG'] = 'C.UTF-8'
        self.stdout = open(os.path.join(run_dir, 'program.out'), 'w')
        self.process = subprocess.Popen([ctx.binary], env=env, stdout=self.stdout,
                                        stderr=subprocess.STDOUT, cwd=run_dir)
        log('started %s (pid %d)' % (ctx.binary, self.process.pid))
        self.app = wait_for('the program on the accessibility bus', self._find_app)
        self._frame = None

    @property
    def frame(self):
        """The main window (a message box at start-up may come before it)."""
        if self._frame is None:
            self._frame = wait_for('the main window', lambda: self.window(TITLE))
        return self._frame

    def _find_app(self):
        if self.process.poll() is not None:
            raise Failure('the program ended at start with status %r' % self.process.returncode)
        desktop = pyatspi.Registry.getDesktop(0)
        for a in children(desktop):
            try:
                if a.get_process_id() == self.process.pid and a.childCount > 0:
                    return a
            except Exception:
                continue
        return None

    def running(self):
        return self.process.poll() is None

    # Windows -----------------------------------------------------------
    def windows(self):
        return [w for w in children(self.app)
                if role(w) in ('frame', 'dialog', 'alert', 'file chooser', 'window')]

    def window(self, title):
        for w in self.windows():
            if name(w) == title and showing(w):
                return w
        return None

    def dialog(self, title=None, timeout=TIMEOUT):
        """Waits for a message box or dialog (other than the main window)."""
        def probe():
            for w in self.windows():
                if name(w) == TITLE and role(w) == 'frame':
                    continue
                if not showing(w):
                    continue
                if title is None or name(w) == title:
                    return w
            return None
        return wait_for('a dialog %r' % (title,), probe, timeout)

    def no_dialog(self):
        return not any(showing(w) for w in self.windows()
                       if not (role(w) == 'frame' and name(w) == TITLE))

    @staticmethod
    def dialog_texts(dialog):
        return [name(a) for a in find_all(dialog, 'label') if name(a)]

    def answer(self, dialog, button='OK'):
        press(wait_for('button %r in %r' % (button, name(dialog)),
                       lambda: first(find_all(dialog, 'push button', button))))
        wait_for('dialog %r to close' % name(dialog), lambda: not showing(dialog))

    def message(self, title=None, button='OK', timeout=TIMEOUT):
        """Waits for a message box, answers it; returns (title, texts)."""
        d = self.dialog(title, timeout)
        texts = self.dialog_texts(d)
        caption = name(d)
        log('message box %r: %r' % (caption, texts))
        self.ctx.screenshot('box-' + ''.join(c for c in caption if c.isalnum())[:20])
        self.answer(d, button)
        return caption, texts

    # Widgets -----------------------------------------------------------
    def find(self, roles, label, root=None, timeout=TIMEOUT, only_showing=True):
        return wait_for('%s %r' % (roles, label),
                        lambda: first(find_all(root or self.frame, roles, label, only_showing)),
                        timeout)

    def button(self, label, root=None):
        return self.find('push button', label, root)

    def press(self, label, root=None):
        b = self.button(label, root)
        wait_for('%r usable' % label, lambda: sensitive(b))
        press(b)

    def menu_item(self, menu, item):
        bar = first(find_all(self.frame, 'menu bar'))
        m = wait_for('menu %r' % menu, lambda: first(
            [a for a in children(bar) if role(a) == 'menu' and name(a) == menu]))
        return wait_for('menu item %r' % item, lambda: first(
            [a for a in children(m) if role(a) == 'menu item' and name(a) == item]))

    def menu(self, menu, item):
        """Opens a menu of the menu bar with a click and clicks its item."""
        mi = self.menu_item(menu, item)
        wait_for('menu item %s > %s usable' % (menu, item), lambda: sensitive(mi))
        log('menu %s > %s' % (menu, item))
        bar = first(find_all(self.frame, 'menu bar'))
        m = first([a for a in children(bar) if role(a) == 'menu' and name(a) == menu])
        # A click that reaches the menu bar while the toolkit still ends a
        # previous pointer grab may not open the menu: close and click again.
        for attempt in range(6):
            self.raise_window()
            click(m)
            try:
                wait_for('menu %r open' % menu, lambda: showing(mi), 5)
                break
            except Failure:
                if attempt == 5:
                    raise
                log('menu %r did not open; again' % menu)
                xdotool('key', 'Escape')
        click(mi)
        wait_for('menu %r closed' % menu, lambda: not showing(mi))

    def label_after(self, caption, root=None):
        """The text of the label that follows `caption` among its siblings'
        labels (the value under a caption such as 'Firmware')."""
        labels = find_all(root or self.frame, 'label', only_showing=True)
        for i, l in enumerate(labels):
            if name(l) == caption:
                return labels

    def choose(self, combo, item):
        """Selects `item` in a combo box through its menu."""
        m = first([a for a in children(combo) if role(a) == 'menu'])
        it = wait_for('item %r' % item, lambda: first(
            [a for a in children(m) if name(a) == item]))
        do_action(it)
        wait_for('combo showing %r' % item, lambda: name(combo) == item)

    def set_text(self, field, text):
        field.queryEditableText().setTextContents(text)

    # Files through the toolkit's file dialog ----------------------------
    def file_dialog(self, path, accept):
        """Answers the toolkit's file dialog with a full path: typed into its
        name field, or into the location field that Ctrl+L opens."""
        d = self.dialog()
        log('file dialog %r -> %s' % (name(d), path))

        def entry():
            return first([a for a in find_all(d, 'text', only_showing=True)
                          if has_state(a, pyatspi.STATE_EDITABLE)])
        field = entry()
        if field is None:
            x, y, w, h = extents(d)
            xdotool('mousemove', '--sync', x + w // 2, y + h // 2)
            xdotool('key', 'ctrl+l')
            field = wait_for('the location field', entry)
        self.set_text(field, path)
        wait_for('the file name typed', lambda: text_of(field) == path)
        self.ctx.screenshot('file-dialog')
        press(wait_for('button %r' % accept,
                       lambda: first(find_all(d, 'push button', accept, True))))
        wait_for('the file dialog to close', lambda: not showing(d))

    # The process ---------------------------------------------------------
    def window_id(self):
        out = xdotool('search', '--onlyvisible', '--pid', self.process.pid, '--name', '^%s$' % TITLE)
        ids = [int(x) for x in out.split()]
        check(ids, 'no X window for the main window')
        return ids[0]

    def raise_window(self):
        """Puts the main window above the others (a help window may cover it)."""
        xdotool('windowraise', self.window_id())

    def close_box(self):
        log('close box')
        send_close_request(self.window_id())

    def wait_exit(self, timeout=TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure('the program did not end')

    def kill(self):
        log('kill -9 %d' % self.process.pid)
        self.process.send_signal(signal.SIGKILL)
        self.process.wait(TIMEOUT)

    def stop(self):
        if self.running():
            self.process.send_signal(signal.SIGKILL)
            self.process.wait(TIMEOUT)
        self.stdout.close()

    # The simulated controller ----------------------------------------------
    def controller_memory(self):
        with open(self.memory_out, 'rb') as f:
            return f.read()

    def controller_log(self):
        try:
            with open(self.midi_log) as f:
                return [l.rstrip('\n') for l in f]
        except FileNotFoundError:
            return []


def first(items):
    return items[0] if items else None


def click(acc, button=1, modifiers=None):
    """Clicks the middle of a widget with the real pointer. Pressing through
    the accessibility action would run the program's handler inside the
    accessibility bridge's own call, and a message box opened there would
    leave the bridge unable to answer until it closed."""
    wait_for('%r on screen' % name(acc),
             lambda: showing(acc) and extents(acc)[2] > 0 and extents(acc)[3] > 0)
    x, y, w, h = extents(acc)
    cx, cy = x + w // 2, y + h // 2
    xdotool('mousemove', '--sync', cx, cy)
    if modifiers:
        xdotool('keydown', modifiers)
    try:
        xdotool('click', button)
    finally:
        if modifiers:
            xdotool('keyup', modifiers)


def click_at(x, y, modifiers=None):
    xdotool('mousemove', '--sync', x, y)
    if modifiers:
        xdotool('keydown', modifiers)
    try:
        xdotool('click', 1)
    finally:
        if modifiers:
            xdotool('keyup', modifiers)


def press(acc):
    log('press %r' % name(acc))
    wait_for('%r usable' % name(acc), lambda: sensitive(acc))
    click(acc)


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def copy(src, dst):
    shutil.copyfile(src, dst)
