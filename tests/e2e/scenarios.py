"""End-to-end scenarios: each one a function, run alone by tests/e2e/run."""

import argparse
import os
import subprocess
import sys
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pyatspi  # noqa: E402

from e2e import (TITLE, Context, Failure, check, do_action, find_all, first,  # noqa: E402
                 log, name, press, read, role, sensitive, showing, wait_for, text_of,
                 has_state, children, extents, xdotool, checked, click_at, click)

SCENARIOS = {}


def scenario(fn):
    SCENARIOS[fn.__name__] = fn
    return fn


MENUS = {
    'Library file': ['New ...', 'Open ...', 'Save', 'Save as ...', 'Load default',
                     'Import Corvana Pro lib ...', 'Export to text file', 'Exit'],
    'Control': ['Copy', 'Paste', 'Clear', 'Upload Current control from CVQ9',
                'Upload All controls from CVQ9', 'Download Current control to CVQ9',
                'Download All controls to CVQ9', 'Load All from library',
                'Save All to library', 'Check Current', 'Check All'],
    'Group': ['Copy', 'Paste', 'Clear'],
    'Help': ['Help', 'About'],
}


def usable_menu_items(p):
    bar = first(find_all(p.frame, 'menu bar'))
    usable = []
    for m in children(bar):
        if role(m) != 'menu':
            continue
        if not sensitive(m):
            continue   # the whole menu is disabled
        for it in children(m):
            if role(it) == 'menu item' and sensitive(it):
                usable.append('%s > %s' % (name(m), name(it)))
    return usable


def usable_tools(p):
    bar = first(find_all(p.frame, 'tool bar'))
    return [name(b) for b in find_all(bar, 'push button') if sensitive(b)]


@scenario
def first_start(ctx):
    p = ctx.start()
    ctx.screenshot('started')
    check(name(p.frame) == TITLE, 'window title %r' % name(p.frame))
    check(not has_state(p.frame, pyatspi.STATE_RESIZABLE), 'the main window can be resized')
    x, y, w, h = extents(p.frame)
    log('main window at %d,%d size %dx%d' % (x, y, w, h))
    check_sensor_picture(ctx, p, 'design_front_cs_v11.xpm', 'design_front_cs_v10.xpm')
    usable = usable_menu_items(p)
    check(usable == ['Library file > Exit', 'Help > Help', 'Help > About'],
          'usable menu items at start: %r' % usable)
    # About: its two lines.
    p.menu('Help', 'About')
    caption, texts = p.message()
    joined = '\n'.join(texts)
    check('Corvana Q9 Configuration Software' in joined and 'Version' in joined,
          'About box: %r' % texts)
    # Help opens the help book in a window of its own.
    p.menu('Help', 'Help')
    help_window = wait_for('the help window', lambda: first(
        [w for w in p.windows() if w != p.frame and showing(w)]))
    ctx.screenshot('help')
    log('help window %r' % name(help_window))
    labels = [name(a) for a in find_all(help_window, None) if name(a)]
    check(len(labels) > 3, 'the help window shows nothing: %r' % labels[:20])
    # Exit closes the help window too and ends the program.
    p.menu('Library file', 'Exit')
    status = p.wait_exit()
    check(status == 0, 'exit status %r' % status)


# Hit areas of the front-panel picture in view coordinates (x, y, w, h) for
# the controls the scenarios click, from the panel geometry table.
PANEL_ITEMS = {
    8: (39, 23, 34, 33),    # knob 0
    9: (92, 23, 34, 33),    # knob 1
    10: (146, 23, 34, 33),  # knob 2
}
VIEW_SIZE = (800, 338)


def view_origin(p):
    def probe():
        for a in find_all(p.frame, None, only_showing=True):
            try:
                x, y, w, h = extents(a)
            except Exception:
                continue
            if (w, h) == VIEW_SIZE:
                return (x, y)
        return None
    return wait_for('the front-panel view', probe)


# The sensor's place on the front-panel picture (view coordinates): the
# ribbon there on the ribbon panel, the bare panel around the infrared sensor
# on the other.
SENSOR_AREA = (753, 52, 27, 113)
PICTURE_AT_X = -10   # the view draws its picture 10 pixels to the left
PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'resources', 'xpm')


def pixel_difference(a, b):
    """Number of differing pixels of two pictures of the same size."""
    out = subprocess.run(['compare', '-metric', 'AE', a, b, 'null:'],
                         capture_output=True, text=True)
    return int(float(out.stderr.split()[0]))


def check_sensor_picture(ctx, p, shown, other):
    """The view shows the picture `shown` at the sensor's place, not `other`."""
    x0, y0 = view_origin(p)
    x, y, w, h = SENSOR_AREA
    crop = '%dx%d+%d+%d' % (w, h, x, y)
    screen = ctx.path('screen.png')
    p.raise_window()
    def on_screen():
        subprocess.run(['import', '-window', 'root', '-crop', '%dx%d+%d+%d' % (w, h, x0 + x + PICTURE_AT_X, y0 + y),
                        '+repage', screen], check=True, capture_output=True)
        return True
    pictures = {}
    for picture in (shown, other):
        pictures[picture] = ctx.path(picture + '.png')
        subprocess.run(['convert', os.path.join(PICTURES, picture), '-crop', crop, '+repage',
                        pictures[picture]], check=True, capture_output=True)
    check(pixel_difference(pictures[shown], pictures[other]) > 0, 'the two pictures are alike there')
    # The first paint may still be on its way.
    wait_for('the %s picture at the sensor' % shown,
             lambda: on_screen() and pixel_difference(screen, pictures[shown]) == 0)
    log('the view shows %s at the sensor' % shown)


PAGES = ['Preferences', 'Global parameters', 'Realtime parameters',
         'Assign Common & Standard mode', 'Assign User & Mackie/Logic modes']


def show_page(p, page):
    tabs = first(find_all(p.frame, 'page tab list'))
    index = PAGES.index(page)
    log('page %r' % page)
    tabs.querySelection().selectChild(index)
    wait_for('page %r shown' % page, lambda: showing(p.find('page tab', page))
             and has_state(first(find_all(tabs, 'page tab', page)), pyatspi.STATE_SELECTED))


def click_control(p, index, ctrl=False):
    x0, y0 = view_origin(p)
    x, y, w, h = PANEL_ITEMS[index]
    p.raise_window()
    log('%sclick on control %d' % ('Ctrl-' if ctrl else '', index))
    click_at(x0 + x + w // 2, y0 + y + h // 2, 'ctrl' if ctrl else None)


def control_shown(p):
    """The CONTROL and GROUP numbers under the panel."""
    labels = [name(a) for a in find_all(p.frame, 'label', only_showing=True)]
    at = labels.index('CONTROL')
    return labels[at:at + 4]


IDENTITY = ['Firmware', 'Hardware', 'Year', 'Month', 'Serial']


def identity(p):
    """The five values shown under Firmware, Hardware, Year, Month, Serial."""
    page = p.find('page tab', 'Preferences')
    labels = [name(a) for a in find_all(page, 'label')]
    at = labels.index('Serial')
    check(labels[at - 4:at + 1] == IDENTITY, 'identity captions %r' % labels[:12])
    return labels[at + 1:at + 6]


def connect(p):
    p.press('Connect to CVQ9 ...')
    return wait_for('the identity shown', lambda: (lambda v: v if all(x != '-' for x in v) else None)(identity(p)))


def transfer(p, button):
    """Presses a whole-configuration transfer button and waits for its end:
    Cancel usable while it runs, and the button usable again afterwards."""
    b = p.button(button)
    cancel = p.button('Cancel')
    p.press(button)
    wait_for('%r running' % button, lambda: sensitive(cancel) or not sensitive(b), 30)
    p.ctx.screenshot('running')
    wait_for('%r finished' % button, lambda: sensitive(b) and not sensitive(cancel), 240)


def set_check(p, label, value):
    box = p.find('check box', label)
    if checked(box) != value:
        press(box)
        wait_for('%r %s' % (label, 'checked' if value else 'unchecked'),
                 lambda: checked(box) == value)


def set_group_range(p, low, high):
    page = p.find('page tab', 'Preferences')
    spins = find_all(page, 'spin button')
    check(len(spins) == 2, 'group range fields: %d' % len(spins))
    for spin, value in zip(spins, (low, high)):
        spin.queryValue().currentValue = value
        wait_for('group range field %d' % value,
                 lambda: int(spin.queryValue().currentValue) == value)


def save_as(p, path):
    p.menu('Library file', 'Save as ...')
    p.file_dialog(path, 'Save')
    wait_for('the library %s written' % path, lambda: os.path.exists(path))


LIB_SIZE = 63248


SECTIONS = [(0, 'signature'), (2, 'transport records'), (162, 'group controls'),
            (62658, 'group names'), (62952, 'common parameters'), (62992, 'user curve 1'),
            (63120, 'user curve 2'), (63248, 'end')]


def section(offset):
    for (start, label), (end, _) in zip(SECTIONS, SECTIONS[1:]):
        if start <= offset < end:
            if label == 'group controls':
                entry, at = divmod(offset - 162, 48)
                g, c = divmod(entry, 62)
                return 'group %d control %d %s byte %d' % (
                    g, c + 5, 'record' if at < 32 else 'LCD', at if at < 32 else at - 32)
            return '%s byte %d' % (label, offset - start)
    return 'beyond the end'


def device_view(image):
    """A library image as the controller holds it: the LCD texts, kept in
    the file up to a NUL, are 16 characters padded with spaces there."""
    b = bytearray(image)
    for entry in range(21 * 62):
        at = 162 + entry * 48 + 32
        text = bytes(b[at:at + 16]).split(b'\0')[0]
        b[at:at + 16] = text.ljust(16, b' ')
    return bytes(b)


CONTROLS = slice(2, 62658)   # transport records and group controls


def controls(image):
    return image[:2] + bytes(62656 - 2) + image[2:62658] if False else \
        bytes(2) + image[CONTROLS] + bytes(len(image) - 62658)


def compare_images(what, a, b):
    if a == b:
        return
    diffs = [i for i in range(min(len(a), len(b))) if a[i] != b[i]]
    raise Failure('%s differ: sizes %d and %d, %d bytes differ, first %s' % (
        what, len(a), len(b), len(diffs),
        '; '.join('%s (%d/%d)' % (section(i), a[i], b[i]) for i in diffs[:8])))


@scenario
def connected(ctx):
    p = ctx.start()
    values = connect(p)
    ctx.screenshot('connected')
    log('identity %r' % values)
    check(values == ['1.6', '2.0', '2007', '03', '1-2345'], 'identity shown %r' % values)
    # A whole configuration to send: the default one, kept in a file.
    p.menu('Library file', 'Load default')
    first_lib = ctx.path('default.cvq')
    save_as(p, first_lib)
    set_check(p, 'Ignore MIDI assignments Programming/Uploading', False)
    set_check(p, 'Ignore LCD strings Programming/Uploading', False)
    set_group_range(p, 0, 20)
    # The transfer buttons are usable on the assignment pages.
    show_page(p, 'Assign Common & Standard mode')
    click_control(p, 8)
    ctx.screenshot('ready')
    before = len(p.controller_log())
    transfer(p, 'Download All to Q9')
    ctx.screenshot('downloaded')
    log('%d messages exchanged' % (len(p.controller_log()) - before))
    # Download All sends every control's record and LCD text; group names,
    # common parameters and curves go with the global tabs' own transfer.
    compare_images('the controls in the controller memory and in the saved library',
                   controls(p.controller_memory()), controls(device_view(read(first_lib))))
    # Back from the controller into a cleared editor.
    p.menu('Library file', 'New ...')
    cleared_lib = ctx.path('cleared.cvq')
    p.file_dialog(cleared_lib, 'Open')
    save_as(p, cleared_lib)
    transfer(p, 'Upload All from Q9')
    ctx.screenshot('uploaded')
    second_lib = ctx.path('uploaded.cvq')
    save_as(p, second_lib)
    uploaded = read(second_lib)
    # Every control came back as the controller holds it, and as the first
    # library had it; nothing else changed from the cleared editor.
    compare_images('the controls in the uploaded library and the first library',
                   controls(uploaded), controls(device_view(read(first_lib))))
    compare_images('the controls in the uploaded library and the controller memory',
                   controls(uploaded), controls(p.controller_memory()))
    cleared = read(cleared_lib)
    compare_images('the rest of the uploaded library and the cleared library',
                   uploaded[:2] + uploaded[62658:], cleared[:2] + cleared[62658:])
    p.menu('Library file', 'Exit')
    check(p.wait_exit() == 0, 'exit status')


HERE = os.path.dirname(os.path.abspath(__file__))
EXPECTED_SUMMARY = os.path.join(HERE, 'expected', 'default_summary.txt')


def combo_items(combo):
    menu = first([a for a in children(combo) if role(a) == 'menu'])
    return [name(a) for a in children(menu)]


def select_item(combo, item):
    """Selects an item of a choice or combo box, as picking it in its list."""
    items = combo_items(combo)
    check(item in items, '%r not among %r' % (item, items))
    log('choose %r' % item)
    combo.querySelection().selectChild(items.index(item))
    wait_for('%r chosen' % item, lambda: name(combo) == item)


def preferences_combos(p):
    page = p.find('page tab', 'Preferences')
    combos = find_all(page, 'combo box')
    check(len(combos) == 4, 'combo boxes of the preferences: %r' % [name(c) for c in combos])
    return combos   # MIDI in, MIDI out, offline firmware, offline hardware


def operating_modes(p):
    page = p.find('page tab', 'Global parameters', only_showing=False)
    found = [a for a in walk_labels_and_combos(page)]
    at = [i for i, a in enumerate(found) if role(a) == 'label' and name(a).startswith('Operating mode')]
    check(at, 'no operating mode list')
    combo = first([a for a in found[at[0]:] if role(a) == 'combo box'])
    return combo_items(combo)


def walk_labels_and_combos(root):
    return find_all(root, ('label', 'combo box'))


def today():
    import time
    return time.strftime('%Y-%m-%d')


@scenario
def offline(ctx):
    p = ctx.start()
    set_check(p, 'Offline mode', True)
    midi_in, midi_out, fw, hw = preferences_combos(p)
    wait_for('the offline firmware choice usable', lambda: sensitive(fw))
    check(not sensitive(p.button('Connect to CVQ9 ...')), 'Connect usable while offline')
    select_item(fw, '1.5')
    wait_for('firmware 1.5 shown', lambda: identity(p)[0] == '1.5')
    modes = operating_modes(p)
    check(modes == ['Standard', 'Reason 3', 'Mackie', 'User'], 'modes with firmware 1.5: %r' % modes)
    ctx.screenshot('firmware-1.5')
    select_item(fw, '1.6')
    wait_for('firmware 1.6 shown', lambda: identity(p)[0] == '1.6')
    modes = operating_modes(p)
    check(modes == ['Standard', 'Reason 3', 'Mackie', 'User', 'Logic'],
          'modes with firmware 1.6: %r' % modes)
    ctx.screenshot('firmware-1.6')
    p.menu('Library file', 'Load default')
    lib = ctx.path('offline.cvq')
    save_as(p, lib)
    ctx.screenshot('saved')
    p.menu('Library file', 'Exit')
    check(p.wait_exit() == 0, 'exit status')
    saved = read(lib)
    check(len(saved) == LIB_SIZE and saved[:2] == b'S1', 'library file of %d bytes' % len(saved))

    p = ctx.start()
    ctx.screenshot('restarted')
    # Offline mode is off at every start; the file commands wait for it.
    check(usable_menu_items(p) == ['Library file > Exit', 'Help > Help', 'Help > About'],
          'usable menu items after the restart: %r' % usable_menu_items(p))
    set_check(p, 'Offline mode', True)
    check(identity(p)[0] == '1.6', 'firmware after the restart %r' % identity(p))
    p.menu('Library file', 'Open ...')
    p.file_dialog(lib, 'Open')
    wait_for('the library label', lambda: lib in [name(a) for a in find_all(p.frame, 'label')])
    text = ctx.path('summary.txt')
    p.menu('Library file', 'Export to text file')
    p.file_dialog(text, 'Save')
    wait_for('the summary written', lambda: os.path.exists(text) and os.path.getsize(text) > 0)
    ctx.screenshot('exported')
    lines = read(text).decode('latin-1').split('\n')
    check(lines[4] == 'Library file: ' + lib, 'library line %r' % lines[4])
    check(lines[5] == 'Date: ' + today(), 'date line %r' % lines[5])
    lines[4] = 'Library file: <library>'
    lines[5] = 'Date: <today>'
    got = '\n'.join(lines)
    with open(os.path.join(ctx.artefacts, 'summary.txt'), 'w', encoding='latin-1') as f:
        f.write(got)
    expected = read(EXPECTED_SUMMARY).decode('latin-1')
    if got != expected:
        e = expected.split('\n')
        g = got.split('\n')
        bad = [i for i in range(max(len(e), len(g))) if i >= len(e) or i >= len(g) or e[i] != g[i]]
        raise Failure('summary differs from %s at line %d: %r instead of %r' % (
            EXPECTED_SUMMARY, bad[0] + 1, g[bad[0]] if bad[0] < len(g) else None,
            e[bad[0]] if bad[0] < len(e) else None))
    p.menu('Library file', 'Exit')
    check(p.wait_exit() == 0, 'exit status')


def all_usable(p):
    """Every usable menu item, tool, button, check box and page of the main window."""
    usable = usable_menu_items(p)
    for a in find_all(p.frame, ('push button', 'check box', 'page tab', 'combo box', 'spin button'),
                      only_showing=True):
        if sensitive(a):
            usable.append('%s %s' % (role(a), name(a)))
    return sorted(usable)


@scenario
def fault_silent(ctx):
    p = ctx.start(silent=1)
    p.press('Connect to CVQ9 ...')
    caption, texts = p.message(timeout=120)
    check(texts == ['No answer received'], 'message %r' % texts)
    check(identity(p) == ['-'] * 5, 'identity shown %r' % identity(p))
    log_lines = p.controller_log()
    check(len(log_lines) == 1 and log_lines[0].startswith('> F0 00 3F 51 00 01 30'),
          'controller log %r' % log_lines)
    check(usable_menu_items(p) == ['Library file > Exit', 'Help > Help', 'Help > About'],
          'usable menu items %r' % usable_menu_items(p))
    ctx.screenshot('after')
    p.menu('Library file', 'Exit')
    check(p.wait_exit() == 0, 'exit status')


@scenario
def fault_refused(ctx):
    p = ctx.start(refuse_acks=1)
    connect(p)
    p.menu('Library file', 'Load default')
    set_check(p, 'Ignore MIDI assignments Programming/Uploading', False)
    show_page(p, 'Assign Common & Standard mode')
    click_control(p, 8)
    wait_for('control 8 chosen', lambda: control_shown(p)[2] == '8')
    p.press('Download selected to Q9')
    caption, texts = p.message()
    check(texts == ['Bad Acknoledge received'], 'message %r' % texts)
    lines = p.controller_log()
    check(len(lines) >= 3 and lines[-1].startswith('< F0 00 3F 51 00 01'),
          'controller log %r' % lines[-3:])
    memory = p.controller_memory()
    check(memory[162 + 3 * 48:162 + 3 * 48 + 32] == bytes(32), 'a refused record was kept')
    wait_for('the buttons back', lambda: sensitive(p.button('Download selected to Q9')))
    ctx.screenshot('after')
    finish(p)


def finish(p):
    """Exit; the editor offers Save as for unsaved changes, which is cancelled."""
    p.menu('Library file', 'Exit')
    def ended_or_dialog():
        if not p.running():
            return 'ended'
        return 'dialog' if not p.no_dialog() else None
    if wait_for('the end or a dialog', ended_or_dialog) == 'dialog':
        d = p.dialog()
        p.answer(d, 'Cancel')
    check(p.wait_exit() == 0, 'exit status')


@scenario
def fault_cancel(ctx):
    p = ctx.start()
    connect(p)
    p.menu('Library file', 'Load default')
    set_check(p, 'Ignore MIDI assignments Programming/Uploading', False)
    set_check(p, 'Ignore LCD strings Programming/Uploading', False)
    set_group_range(p, 0, 20)
    show_page(p, 'Assign Common & Standard mode')
    click_control(p, 8)
    before = all_usable(p)
    b = p.button('Download All to Q9')
    cancel = p.button('Cancel')
    p.press('Download All to Q9')
    wait_for('the download running', lambda: sensitive(cancel))
    running = all_usable(p)
    ctx.screenshot('running')
    check(running == ['push button Cancel'], 'usable while the download runs: %r' % running)
    wait_for('messages going out', lambda: len(p.controller_log()) > 20)
    press(cancel)
    # A wait cut short by the cancel reports "No answer received", as any
    # unanswered exchange of a download does; a cancel between two waits
    # shows nothing.
    def ended_or_box():
        if not p.no_dialog():
            return 'box'
        return 'ended' if sensitive(b) and not sensitive(cancel) else None
    if wait_for('the download ended', ended_or_box, 120) == 'box':
        caption, texts = p.message()
        check(texts == ['No answer received'], 'message after the cancel %r' % texts)
        check(p.no_dialog(), 'a second message after the cancel')
    wait_for('the download ended', lambda: sensitive(b) and not sensitive(cancel), 120)
    ctx.screenshot('cancelled')
    sent = [l for l in p.controller_log() if l.startswith('>')]
    log('%d messages sent before the cancel took effect' % len(sent))
    check(len(sent) < 2 * 21 * 62, 'the download was not cancelled (%d messages)' % len(sent))
    after = all_usable(p)
    check(after == before, 'usable after the cancel: %r instead of %r' % (after, before))
    finish(p)


def open_library(p, path):
    p.menu('Library file', 'Open ...')
    p.file_dialog(path, 'Open')


def offline_default_saved(ctx, file_name):
    """Starts the program offline with the default library saved as file_name."""
    p = ctx.start()
    set_check(p, 'Offline mode', True)
    p.menu('Library file', 'Load default')
    lib = ctx.path(file_name)
    save_as(p, lib)
    return p, lib


@scenario
def fault_library(ctx):
    p, good = offline_default_saved(ctx, 'good.cvq')
    # A damaged file: bytes that are no library at all, not even of the
    # earlier layout without signature.
    import random
    rng = random.Random(7)
    damaged = ctx.path('damaged.cvq')
    junk = bytes([0]) + bytes(rng.randrange(256) for _ in range(4999))
    with open(damaged, 'wb') as f:
        f.write(junk)
    open_library(p, damaged)
    caption, texts = p.message()
    check(any('library file format has changed' in t for t in texts), 'message %r' % texts)
    # Loading ends with the whole-configuration check, which names the first
    # record of the junk that breaks a rule.
    caption, texts = p.message()
    check(any(t.startswith('Group ') and ' - Control ' in t for t in texts), 'check message %r' % texts)
    check(p.running(), 'the program ended')
    check(read(damaged) == junk, 'the damaged file was changed')
    ctx.screenshot('damaged-opened')
    # The good library opens again as it was saved: nothing was lost.
    open_library(p, good)
    wait_for('the good library label', lambda: good in [name(a) for a in find_all(p.frame, 'label')])
    check(p.running(), 'the program ended')
    copy_path = ctx.path('copy.cvq')
    save_as(p, copy_path)
    check(read(copy_path) == read(good), 'the editor lost its configuration')
    finish(p)


def private_install(ctx):
    """A copy of the installed program folder, for damaging its files."""
    import shutil
    src = os.path.join(ctx.prefix, 'lib', 'cvq9_config_soft')
    dst = ctx.path('install', 'lib', 'cvq9_config_soft')
    shutil.copytree(src, dst)
    os.makedirs(ctx.path('install', 'bin'))
    os.symlink('../lib/cvq9_config_soft/cvq9_config_soft', ctx.path('install', 'bin', 'cvq9_config_soft'))
    ctx.prefix = ctx.path('install')
    return dst


def chunk(ident, data):
    import struct
    c = ident + struct.pack('<I', len(data)) + data
    return c + (b'\0' if len(data) % 2 else b'')


def check_usable_without_presets(ctx, p):
    set_check(p, 'Offline mode', True)
    p.menu('Library file', 'Load default')
    lib = ctx.path('lib-%d.cvq' % ctx.runs)
    save_as(p, lib)
    check(len(read(lib)) == LIB_SIZE, 'library not saved')
    p.menu('Library file', 'Exit')
    check(p.wait_exit() == 0, 'exit status')


@scenario
def fault_presets(ctx):
    folder = private_install(ctx)
    preset = os.path.join(folder, 'hlvlib.xcq')
    # An empty preset file: a message at start, then an editor without presets.
    open(preset, 'wb').close()
    p = ctx.start()
    caption, texts = p.message()
    check(texts == ['Cannot load preset file hlvlib.xcq\nPlease copy this file to ' + preset],
          'message %r' % texts)
    check_usable_without_presets(ctx, p)
    # A damaged one: a gear without its name.
    with open(preset, 'wb') as f:
        f.write(chunk(b'LIBR', chunk(b'JUNK', b'xyz')) + b'\xff' * 7)
    p = ctx.start()
    ctx.screenshot('damaged-presets')
    boxes = []
    def settle():
        if not p.no_dialog():
            boxes.append(p.message())
            return None
        return True
    # Every box the start-up shows is answered; the window stays.
    wait_for('the start-up messages answered', lambda: settle() and settle())
    log('messages at start with a damaged preset file: %r' % boxes)
    for caption, texts in boxes:
        check(any('Preset' in t or 'preset' in t for t in texts), 'message %r' % texts)
    check(p.running(), 'the program ended')
    check_usable_without_presets(ctx, p)


def entry_offset(group, index):
    return 162 + (group * 62 + index - 5) * 48


def record_of(image, group, index):
    at = entry_offset(group, index)
    return image[at:at + 32], image[at + 32:at + 48].split(b'\0')[0]


def type_into(p, field, text):
    """Real keystrokes: a click in the field, select all, type."""
    log('type %r' % text)
    click(field)
    xdotool('key', '--clearmodifiers', 'ctrl+a')
    xdotool('type', '--delay', '20', text)
    wait_for('%r typed' % text, lambda: text_of(field) == text)


def assignment_fields(p):
    page = p.find('page tab', 'Assign User & Mackie/Logic modes')
    items = find_all(page, ('label', 'text'), only_showing=True)
    def after(caption):
        at = [i for i, a in enumerate(items) if role(a) == 'label' and name(a) == caption]
        check(at, 'no %r field' % caption)
        return first([a for a in items[at[0]:] if role(a) == 'text'])
    return after('MIDI string'), after('LCD string')


# An NRPN message of other numbers: the template's positions still fit it.
MIDI_TYPED = 'B0630562070600'
LCD_TYPED = 'E2E edit'


@scenario
def editing(ctx):
    p, lib = offline_default_saved(ctx, 'edited.cvq')
    default = read(lib)
    show_page(p, 'Assign User & Mackie/Logic modes')
    click_control(p, 8)
    wait_for('knob 0 chosen', lambda: control_shown(p)[2] == '8')
    click_control(p, 9, ctrl=True)
    click_control(p, 10, ctrl=True)
    ctx.screenshot('three-selected')
    # A standard template for the three, then the typed strings.
    page = p.find('page tab', 'Assign User & Mackie/Logic modes')
    press(p.find('radio button', 'Use standard template', page))
    template = p.find('combo box', 'User Defined', page)
    wait_for('the template list usable', lambda: sensitive(template))
    templates = combo_items(template)
    log('%d standard templates, e.g. %r' % (len(templates), templates[:4]))
    chosen = 'NRPN'
    select_item(template, chosen)
    midi_field, lcd_field = assignment_fields(p)
    wait_for('the template applied', lambda: text_of(lcd_field) == chosen[:16] or text_of(lcd_field) == chosen)
    templated = text_of(midi_field)
    log('template %r gives MIDI string %r' % (chosen, templated))
    ctx.screenshot('template')
    type_into(p, midi_field, MIDI_TYPED)
    type_into(p, lcd_field, LCD_TYPED)
    ctx.screenshot('typed')
    p.menu('Library file', 'Save')
    wait_for('the library saved', lambda: read(lib) != default)
    # A Save to the current file leaves the changes flagged as unsaved: Exit
    # offers Save as, which is cancelled.
    finish(p)

    saved = read(lib)
    records = [record_of(saved, 1, i) for i in (8, 9, 10)]
    for index, (record, lcd) in zip((8, 9, 10), records):
        n = len(MIDI_TYPED) // 2
        check(record[3] == n and record[11:11 + n] == bytes.fromhex(MIDI_TYPED),
              'control %d: MIDI string %s (length %d)' % (index, record[11:11 + n].hex(), record[3]))
        check(lcd == LCD_TYPED.encode(), 'control %d: LCD %r' % (index, lcd))
    # Byte 0 holds each control's own number; the rest is the same edit.
    check(records[0][0][1:] == records[1][0][1:] == records[2][0][1:],
          'the three records differ: %r' % records)
    check(record_of(saved, 1, 11) == record_of(default, 1, 11), 'knob 3 changed')
    check(saved[:entry_offset(1, 8)] == default[:entry_offset(1, 8)] and
          saved[entry_offset(1, 11):] == default[entry_offset(1, 11):],
          'records other than the three changed')
    check(record_of(saved, 1, 8)[0][:11] != record_of(default, 1, 8)[0][:11],
          'the template changed nothing')

    p = ctx.start()
    set_check(p, 'Offline mode', True)
    open_library(p, lib)
    wait_for('the library label', lambda: lib in [name(a) for a in find_all(p.frame, 'label')])
    show_page(p, 'Assign User & Mackie/Logic modes')
    for index in (8, 9, 10):
        click_control(p, index)
        wait_for('control %d chosen' % index, lambda: control_shown(p)[2] == str(index))
        midi_field, lcd_field = assignment_fields(p)
        wait_for('control %d shown as edited' % index,
                 lambda: text_of(midi_field) == MIDI_TYPED and text_of(lcd_field) == LCD_TYPED)
    ctx.screenshot('reopened')
    finish(p)


def group_selector(p):
    bar = first(find_all(p.frame, 'tool bar'))
    return first(find_all(bar, 'combo box'))


def settings_shown(p):
    combos = preferences_combos(p)
    page = p.find('page tab', 'Preferences')
    spins = find_all(page, 'spin button')
    return {
        'group': name(group_selector(p)),
        'control': control_shown(p)[2:4],
        'force': checked(p.find('check box', 'Force programming undefined controls')),
        'from': int(spins[0].queryValue().currentValue),
        'midi in': name(combos[0]),
    }


def change_settings(p, group, control, force, low, midi_in):
    show_page(p, 'Preferences')
    select_item(preferences_combos(p)[0], midi_in)
    set_check(p, 'Force programming undefined controls', force)
    set_group_range(p, low, 20)
    select_item(group_selector(p), str(group))
    click_control(p, control)
    wait_for('control %d group %d shown' % (control, group),
             lambda: control_shown(p)[2:4] == [str(control), str(group)])


@scenario
def settings(ctx):
    first_values = {'group': '3', 'control': ['9', '3'], 'force': False, 'from': 2,
                    'midi in': 'Midi Through Port-0'}
    second_values = {'group': '5', 'control': ['10', '5'], 'force': True, 'from': 4,
                     'midi in': 'Corvana Q9 MIDI 1'}
    p = ctx.start()
    wait_for('the first start shown', lambda: settings_shown(p))
    log('first start: %r' % settings_shown(p))
    change_settings(p, 3, 9, False, 2, 'Midi Through Port-0')
    ctx.screenshot('changed')
    check(settings_shown(p) == first_values, 'shown %r' % settings_shown(p))
    finish(p)   # Exit
    check(os.path.exists(ctx.settings_file), 'no settings file after Exit')

    p = ctx.start()
    wait_for('the settings kept by Exit', lambda: settings_shown(p) == first_values)
    ctx.screenshot('after-exit')
    change_settings(p, 5, 10, True, 4, 'Corvana Q9 MIDI 1')
    check(settings_shown(p) == second_values, 'shown %r' % settings_shown(p))
    p.close_box()
    check(p.wait_exit() == 0, 'exit status after the close box')

    p = ctx.start()
    wait_for('the settings kept by the close box', lambda: settings_shown(p) == second_values)
    ctx.screenshot('after-close-box')
    change_settings(p, 3, 9, False, 2, 'Midi Through Port-0')
    p.kill()

    p = ctx.start()
    try:
        wait_for('the settings of before the kill', lambda: settings_shown(p) == second_values, 20)
    except Failure:
        raise Failure('after a kill: %r instead of %r' % (settings_shown(p), second_values))
    ctx.screenshot('after-kill')
    finish(p)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--list', action='store_true')
    parser.add_argument('--prefix')
    parser.add_argument('--lib')
    parser.add_argument('--scratch')
    parser.add_argument('--artefacts')
    parser.add_argument('scenario', nargs='?')
    args = parser.parse_args()
    if args.list:
        print('\n'.join(SCENARIOS))
        return 0
    ctx = Context(args.prefix, args.lib, args.scratch, args.artefacts, args.scenario)
    try:
        SCENARIOS[args.scenario](ctx)
        log('PASS %s' % args.scenario)
        return 0
    except Exception as e:
        traceback.print_exc()
        import glob
        if ctx.program is not None:
            ctx.program.stdout.flush()
        for out in glob.glob(os.path.join(ctx.scratch, 'run*', 'program.out')):
            with open(out) as f:
                if 'Unable to initialize GTK' in f.read():
                    log('no display for the program: %s' % e)
                    return 3   # the runner tries again with another display
        ctx.screenshot('failure')
        log('FAIL %s: %s' % (args.scenario, e))
        return 1
    finally:
        if ctx.program is not None:
            ctx.program.stop()


if __name__ == '__main__':
    sys.exit(main())
