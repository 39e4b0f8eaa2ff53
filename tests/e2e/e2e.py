"""Driving the installed program from the outside, as a user does: widgets
found through AT-SPI by role and label, used with the real pointer and
keyboard (xdotool). Every wait is for a state, with a generous bound."""

import ctypes
import os
import subprocess
import time

import pyatspi

TIMEOUT = 60.0
TITLE = 'Halvorn CVQ9 Configuration software'


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def log(text):
    print('[e2e %s] %s' % (time.strftime('%H:%M:%S'), text), flush=True)


def wait_for(what, probe, timeout=TIMEOUT):
    """Calls probe() until it returns something true; returns that."""
    end, last_error = time.monotonic() + timeout, None
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
            raise Failure('timed out waiting for %s%s' % (what, ' (%r)' % last_error if last_error else ''))
        time.sleep(0.1)


def _safe(get, default=''):
    try:
        return get()
    except Exception:
        return default


def role(acc):
    return _safe(acc.getRoleName)


def name(acc):
    return _safe(lambda: acc.name or '')


def children(acc):
    return _safe(lambda: [c for c in acc if c is not None], [])


def has_state(acc, state):
    return _safe(lambda: acc.getState().contains(state), False)


def sensitive(acc):
    return has_state(acc, pyatspi.STATE_SENSITIVE)


def showing(acc):
    return has_state(acc, pyatspi.STATE_SHOWING)


def checked(acc):
    return has_state(acc, pyatspi.STATE_CHECKED)


def first(items):
    return items[0] if items else None


def find_all(root, roles=None, label=None, only_showing=False):
    """Every accessible below root (depth first) of the roles and label."""
    roles = (roles,) if isinstance(roles, str) else roles
    found, stack = [], [root]
    while stack:
        a = stack.pop()
        stack.extend(reversed(children(a)))
        if ((not roles or role(a) in roles) and (label is None or name(a) == label)
                and (not only_showing or showing(a))):
            found.append(a)
    return found


def text_of(acc):
    return _safe(lambda: acc.queryText().getText(0, -1), name(acc))


def extents(acc):
    e = _safe(lambda: acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS), None)
    return (e.x, e.y, e.width, e.height) if e else (0, 0, 0, 0)


def xdotool(*args):
    return subprocess.run(['xdotool'] + [str(a) for a in args], check=True, capture_output=True, text=True).stdout


def click_at(x, y, modifier=None):
    xdotool('mousemove', '--sync', x, y, *(['keydown', modifier, 'click', 1, 'keyup', modifier]
                                           if modifier else ['click', 1]))


def click(acc):
    """Clicks the middle of a widget with the real pointer. Pressing through
    the accessibility action would run the program's handler inside the
    bridge's own call, and a message box opened there would leave the bridge
    unable to answer until it closed."""
    wait_for('%r on screen' % name(acc), lambda: showing(acc) and extents(acc)[2] > 0)
    x, y, w, h = extents(acc)
    click_at(x + w // 2, y + h // 2)


def press(acc):
    log('press %r' % name(acc))
    wait_for('%r usable' % name(acc), lambda: sensitive(acc))
    click(acc)


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def send_close_request(window_id):
    """The close box: the WM_DELETE_WINDOW message a window manager sends when
    it is clicked (there is no window manager under the virtual X server).
    The event is a ClientMessage: type, serial, send_event, display, window,
    message_type, format, then its data (24 longs in all)."""
    x = ctypes.CDLL('libX11.so.6')
    x.XOpenDisplay.restype = x.XInternAtom.restype = ctypes.c_void_p
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    display = ctypes.c_void_p(x.XOpenDisplay(None))
    check(display.value, 'cannot open the X display')
    event = (ctypes.c_long * 24)(33, 0, 1, display.value, window_id, x.XInternAtom(display, b'WM_PROTOCOLS', 0),
                                 32, x.XInternAtom(display, b'WM_DELETE_WINDOW', 0))
    x.XSendEvent(display, window_id, 0, 0, event)
    x.XFlush(display)
    x.XCloseDisplay(display)


class Session:
    """One scenario's runs of the installed program, one at a time, each with
    the stand-in PortMidi, the scenario's home folder, and its own folder for
    the program's output and the simulated controller's memory and log."""

    def __init__(self, prefix, libdir, scratch, artefacts):
        self.libdir, self.scratch, self.artefacts = libdir, scratch, artefacts
        self.binary = os.path.join(prefix, 'bin', 'cvq9_config_soft')
        self.home = self.path('home')
        os.makedirs(self.home, exist_ok=True)
        self.recovery_file = os.path.join(os.environ['XDG_DATA_HOME'], 'cvq9_config_soft', 'recovery.cvq')
        self.shots = self.runs = 0
        self.process = None

    def path(self, *parts):
        return os.path.join(self.scratch, *parts)

    def screenshot(self, label):
        self.shots += 1
        target = os.path.join(self.artefacts, '%02d-%s.png' % (self.shots, label))
        subprocess.run(['import', '-window', 'root', target], capture_output=True)
        log('screenshot %s' % target)

    def start(self, *args):
        """Starts the program with the command-line arguments `args`."""
        check(not self.running(), 'the program is already running')
        self.runs += 1
        run = self.path('run%d' % self.runs)
        os.makedirs(run)
        # The program's output and the controller's log go beside the pictures.
        self.memory_out = os.path.join(run, 'controller_memory.cvq')
        self.midi_log = os.path.join(self.artefacts, 'run%d-controller.log' % self.runs)
        env = {k: v for k, v in os.environ.items() if k not in ('NO_AT_BRIDGE', 'GTK_A11Y', 'XDG_CONFIG_HOME')}
        env.update(HOME=self.home, GTK_MODULES='gail:atk-bridge', LD_LIBRARY_PATH=self.libdir,
                   CVQ9_PMFAKE_MEMORY=self.memory_out, CVQ9_PMFAKE_LOG=self.midi_log, LANG='C.UTF-8')
        with open(os.path.join(self.artefacts, 'run%d-program.out' % self.runs), 'w') as out:
            self.process = subprocess.Popen([self.binary, *args], env=env, stdout=out, stderr=subprocess.STDOUT, cwd=run)
        log('started %s (pid %d)' % (self.binary, self.process.pid))
        self.app = wait_for('the program on the accessibility bus', self._find_app)
        self._frame = None
        return self

    def _find_app(self):
        check(self.running(), 'the program ended at start with status %r' % self.process.returncode)
        return first([a for a in children(pyatspi.Registry.getDesktop(0)) if _safe(
            lambda: a.get_process_id() == self.process.pid and a.childCount > 0, False)])

    def running(self):
        return self.process is not None and self.process.poll() is None

    @property
    def frame(self):
        """The main window (a message box at start-up may come before it)."""
        self._frame = self._frame or wait_for('the main window', lambda: first(
            [w for w in children(self.app) if name(w) == TITLE and role(w) == 'frame' and showing(w)]))
        return self._frame

    # Windows and message boxes -------------------------------------------
    def dialogs(self):
        """The windows shown but the main window: message boxes, file dialogs, help."""
        return [w for w in children(self.app) if showing(w) and (name(w), role(w)) != (TITLE, 'frame')
                and role(w) in ('frame', 'dialog', 'alert', 'file chooser', 'window')]

    def message(self, button='OK', timeout=TIMEOUT):
        """Waits for a message box and answers it; returns its texts."""
        d = wait_for('a message box', lambda: first(self.dialogs()), timeout)
        texts = [name(a) for a in find_all(d, 'label') if name(a)]
        log('message box %r: %r' % (name(d), texts))
        self.screenshot('box-' + ''.join(c for c in (texts or [''])[0] if c.isalnum())[:24])
        press(wait_for('button %r' % button, lambda: first(find_all(d, 'push button', button))))
        wait_for('the message box to close', lambda: not showing(d))
        return texts

    # Widgets --------------------------------------------------------------
    def find(self, roles, label, root=None, only_showing=True):
        return wait_for('%s %r' % (roles, label),
                        lambda: first(find_all(root or self.frame, roles, label, only_showing)))

    def button(self, label):
        return self.find('push button', label)

    def label_shown(self, text):
        return wait_for('the label %r' % text, lambda: find_all(self.frame, 'label', text, True))

    def menu_item(self, menu, item):
        bar = first(find_all(self.frame, 'menu bar'))
        m = wait_for('menu %r' % menu, lambda: first([a for a in children(bar) if name(a) == menu]))
        return m, wait_for('menu item %r' % item, lambda: first([a for a in children(m) if name(a) == item]))

    def menu(self, menu, item):
        """Opens a menu of the menu bar with a click and clicks its item."""
        m, mi = self.menu_item(menu, item)
        wait_for('menu item %s > %s usable' % (menu, item), lambda: sensitive(mi))
        log('menu %s > %s' % (menu, item))
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
                xdotool('key', 'Escape')
        click(mi)
        wait_for('menu %r closed' % menu, lambda: not showing(mi))

    def set_check(self, label, value):
        box = self.find('check box', label)
        if checked(box) != value:
            press(box)
            wait_for('%r %s' % (label, value), lambda: checked(box) == value)

    def type_into(self, field, text):
        """Real keystrokes: a click in the field, select all, type."""
        log('type %r' % text)
        click(field)
        xdotool('key', '--clearmodifiers', 'ctrl+a', 'type', '--delay', '20', text)
        wait_for('%r typed' % text, lambda: text_of(field) == text)

    def key(self, keys):
        log('key %s' % keys)
        self.raise_window()
        xdotool('key', '--clearmodifiers', keys)

    def file_dialog(self, path, accept):
        """Answers the toolkit's file dialog with a full path: typed into its
        name field, or into the location field that Ctrl+L opens."""
        d = wait_for('the file dialog', lambda: first(self.dialogs()))
        log('file dialog %r -> %s' % (name(d), path))

        def entry():
            return first([a for a in find_all(d, 'text', only_showing=True) if has_state(a, pyatspi.STATE_EDITABLE)])
        if entry() is None:
            x, y, w, h = extents(d)
            xdotool('mousemove', '--sync', x + w // 2, y + h // 2, 'key', 'ctrl+l')
        field = wait_for('the name field', entry)
        field.queryEditableText().setTextContents(path)
        wait_for('the file name typed', lambda: text_of(field) == path)
        press(wait_for('button %r' % accept, lambda: first(find_all(d, 'push button', accept, True))))
        wait_for('the file dialog to close', lambda: not showing(d))

    # The process ------------------------------------------------------------
    def window_id(self):
        out = xdotool('search', '--onlyvisible', '--pid', self.process.pid, '--name', '^%s$' % TITLE).split()
        check(out, 'no X window for the main window')
        return int(out[0])

    def raise_window(self):
        """Puts the main window above the others (a help window may cover it)."""
        xdotool('windowraise', self.window_id())

    def close_box(self):
        log('close box')
        send_close_request(self.window_id())

    def wait_exit(self):
        try:
            check(self.process.wait(TIMEOUT) == 0, 'exit status %r' % self.process.returncode)
        except subprocess.TimeoutExpired:
            raise Failure('the program did not end')

    def kill(self):
        log('kill -9 %d' % self.process.pid)
        self.process.kill()
        self.process.wait(TIMEOUT)

    def controller_log(self):
        return read(self.midi_log).decode().splitlines() if os.path.exists(self.midi_log) else []
