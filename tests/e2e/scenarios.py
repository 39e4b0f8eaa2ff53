"""End-to-end scenarios: each one a function, run alone by tests/e2e/run."""

import os
import re
import shutil
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pyatspi  # noqa: E402

from e2e import (Session, check, checked, children, click_at, extents, find_all,  # noqa: E402
                 first, has_state, log, name, press, read, role, sensitive, text_of, wait_for)

COMMON_PAGE, USER_PAGE = 'Assign Common & Standard mode', 'Assign User & Mackie/Logic modes'
IGNORE_MIDI = 'Ignore MIDI assignments Programming/Uploading'
IGNORE_LCD = 'Ignore LCD strings Programming/Uploading'
FORCE = 'Force programming undefined controls'
KNOBS = {8: (56, 39), 9: (109, 39), 10: (163, 39)}   # their middles on the front-panel view
CONTROLS_END = 162 + 21 * 62 * 48   # where the transport records and group controls of a library end


def click_control(p, index, ctrl=False):
    x0, y0 = wait_for('the front-panel view', lambda: first(
        [extents(a)[:2] for a in find_all(p.frame, None, only_showing=True) if extents(a)[2:] == (800, 338)]))
    p.raise_window()
    log('%sclick on control %d' % ('Ctrl-' if ctrl else '', index))
    click_at(x0 + KNOBS[index][0], y0 + KNOBS[index][1], 'ctrl' if ctrl else None)
    if not ctrl:
        wait_for('control %d chosen' % index, lambda: control_shown(p)[0] == str(index))


def control_shown(p):
    """The numbers under CONTROL and GROUP below the panel."""
    labels = [name(a) for a in find_all(p.frame, 'label', only_showing=True)]
    return labels[labels.index('CONTROL') + 2:labels.index('CONTROL') + 4]


def show_page(p, page):
    tabs = first(find_all(p.frame, 'page tab list'))
    log('page %r' % page)
    tabs.querySelection().selectChild([name(t) for t in children(tabs)].index(page))
    wait_for('page %r' % page, lambda: has_state(first(find_all(tabs, 'page tab', page)), pyatspi.STATE_SELECTED))


def select_item(combo, item):
    """Selects an item of a choice or combo box, as picking it in its list."""
    log('choose %r' % item)
    items = [name(a) for a in children(first([a for a in children(combo) if role(a) == 'menu']))]
    combo.querySelection().selectChild(items.index(item))
    wait_for('%r chosen' % item, lambda: name(combo) == item)


def preferences(p):
    """The preferences' lists (MIDI in, MIDI out, offline firmware and
    hardware) and group range fields, and the labels of the page."""
    page = p.find('page tab', 'Preferences', only_showing=False)
    return find_all(page, 'combo box'), find_all(page, 'spin button'), [name(a) for a in find_all(page, 'label')]


def identity(p):
    """The values shown under Firmware, Hardware, Year, Month, Serial."""
    labels = preferences(p)[2]
    return labels[labels.index('Serial') + 1:labels.index('Serial') + 6]


def group_selector(p):
    return first(find_all(first(find_all(p.frame, 'tool bar')), 'combo box'))


def settings_shown(p):
    return (name(group_selector(p)), control_shown(p), checked(p.find('check box', FORCE)), name(preferences(p)[0][0]))


def assignment_fields(p):
    """The MIDI string and LCD string fields of the assignment page."""
    items = find_all(p.find('page tab', USER_PAGE), ('label', 'text'), only_showing=True)
    at = [i for i, a in enumerate(items) if name(a) in ('MIDI string', 'LCD string')]
    return [first([a for a in items[i:] if role(a) == 'text']) for i in at]


def save_as(p, path):
    p.menu('Library file', 'Save as ...')
    p.file_dialog(path, 'Save')
    p.label_shown(path)


def device_view(image):
    """The controls of a library image as the controller holds them: the LCD
    texts, kept in the file up to a NUL, are padded with spaces to 16 there."""
    b = bytearray(image[:CONTROLS_END])
    for at in range(162 + 32, CONTROLS_END, 48):
        b[at:at + 16] = bytes(b[at:at + 16]).split(b'\0')[0].ljust(16, b' ')
    return bytes(b[2:])


def check_same(what, a, b):
    at = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), None if len(a) == len(b) else 'size')
    check(at is None, '%s differ from offset %r' % (what, at))


MIDI_TYPED = 'B0630562070600'   # an NRPN message of other numbers: the template's positions still fit
LCD_TYPED = 'E2E edit'


def first_start_offline(ctx):
    """Offline, three knobs edited at once through a template and typed
    strings, saved and exported; the settings kept by Exit for the next
    start, the library opened there from the command line, as edited;
    About and Help. A command line that names no library is reported."""
    p = ctx.start('--no-such-option')
    texts = p.message()
    check(len(texts) == 1 and texts[0].endswith('\nIgnored: --no-such-option'), 'report of the command line %r' % texts)
    ctx.screenshot('started')
    p.set_check('Offline mode', True)
    p.menu('Library file', 'Load default')
    lib = ctx.path('edited.cvq')
    save_as(p, lib)
    show_page(p, USER_PAGE)
    click_control(p, 8)
    click_control(p, 9, ctrl=True)
    click_control(p, 10, ctrl=True)
    page = p.find('page tab', USER_PAGE)
    press(p.find('radio button', 'Use standard template', page))
    select_item(p.find('combo box', 'User Defined', page), 'NRPN')
    midi_field, lcd_field = assignment_fields(p)
    wait_for('the template applied', lambda: text_of(lcd_field) == 'NRPN')
    p.type_into(midi_field, MIDI_TYPED)
    p.type_into(lcd_field, LCD_TYPED)
    p.label_shown(lib + ' (unsaved)')
    ctx.screenshot('three-edited')
    p.menu('Library file', 'Save')
    p.label_shown(lib)
    # The summary names the three controls edited, and no other.
    summary = ctx.path('summary.txt')
    p.menu('Library file', 'Export to text file')
    p.file_dialog(summary, 'Save')
    lines = wait_for('the summary', lambda: read(summary).decode('latin-1').split('\n'))
    check(lines[4:6] == ['Library file: ' + lib, 'Date: ' + time.strftime('%Y-%m-%d')], 'summary %r' % lines[:6])
    edited = [i for i, line in enumerate(lines) if LCD_TYPED in line and MIDI_TYPED in line]
    check([lines[i][:10] for i in edited] == ['Control 08', 'Control 09', 'Control 10'] and
          [line for line in lines[:edited[0]] if 'Group' in line][-1].split() == ['*****', 'Group', '01', '*****'],
          'edited controls in the summary: %r' % [lines[i] for i in edited])

    show_page(p, 'Preferences')
    values = ('3', ['9', '3'], False, 'Midi Through Port-0')
    check(all(a != b for a, b in zip(settings_shown(p), values)), 'settings at start %r' % (settings_shown(p),))
    select_item(preferences(p)[0][0], values[3])
    p.set_check(FORCE, values[2])
    select_item(group_selector(p), '3')
    click_control(p, 9)
    check(settings_shown(p) == values, 'settings shown %r' % (settings_shown(p),))
    p.menu('Library file', 'Exit')
    p.wait_exit()

    # The library the editor saved, kept for the package check (scripts/test).
    shutil.copy(lib, os.path.join(ctx.artefacts, 'saved-by-editor.cvq'))
    p = ctx.start(lib)
    p.label_shown(lib)
    wait_for('the settings kept', lambda: settings_shown(p) == values)
    p.set_check('Offline mode', True)
    select_item(group_selector(p), '1')
    show_page(p, USER_PAGE)
    for index in (8, 9, 10):
        click_control(p, index)
        wait_for('control %d as edited' % index, lambda: [text_of(f) for f in assignment_fields(p)]
                 == [MIDI_TYPED, LCD_TYPED])
    ctx.screenshot('reopened')
    p.menu('Help', 'About')
    check(p.message()[0].startswith('Corvana Q9 Configuration Software\nVersion '), 'no About box')
    p.menu('Help', 'Help')
    help_window = wait_for('the help window', lambda: first(p.dialogs()))
    ctx.screenshot('help')
    check(len([a for a in find_all(help_window) if name(a)]) > 3, 'the help window shows nothing')
    p.menu('Library file', 'Exit')   # closes the help window too
    p.wait_exit()


def transfer(p, label, question=None):
    """Presses a transfer button, answers the question before it, waits for its end."""
    b, cancel = p.button(label), p.button('Cancel')
    press(b)
    texts = p.message(question) if question else None
    wait_for('%r running' % label, lambda: sensitive(cancel) or not sensitive(b), 30)
    p.screenshot('running')
    wait_for('%r finished' % label, lambda: sensitive(b) and not sensitive(cancel), 240)
    return texts


def connected(ctx):
    """An exchange with the simulated controller: its identity; Download All
    cancelled half-way, then whole; New, and Upload All into it once the
    question to save the new library is answered."""
    p = ctx.start()
    press(p.button('Connect to CVQ9 ...'))
    shown = wait_for('the identity shown', lambda: '-' not in identity(p) and identity(p))
    check(shown == ['1.6', '2.0', '2007', '03', '1-2345'], 'identity shown %r' % shown)
    ctx.screenshot('connected')
    p.menu('Library file', 'Load default')
    first_lib = ctx.path('default.cvq')
    save_as(p, first_lib)
    p.set_check(IGNORE_MIDI, False)
    p.set_check(IGNORE_LCD, False)
    for spin, value in zip(preferences(p)[1], (0, 20)):   # the group range: every group
        spin.queryValue().currentValue = value
        wait_for('group range field %d' % value, lambda: int(spin.queryValue().currentValue) == value)
    show_page(p, COMMON_PAGE)
    click_control(p, 8)
    download, cancel = p.button('Download All to Q9'), p.button('Cancel')
    press(download)
    wait_for('the download running', lambda: sensitive(cancel))
    wait_for('messages going out', lambda: len(p.controller_log()) > 20)
    press(cancel)
    # A wait cut short by the cancel reports "No answer received", as any
    # unanswered exchange does; a cancel between two waits shows nothing.
    if wait_for('the download ended', lambda: (p.dialogs() and 'box') or
                (sensitive(download) and not sensitive(cancel) and 'ended'), 120) == 'box':
        check(p.message() == ['No answer received'], 'message after the cancel')
    wait_for('the download ended', lambda: sensitive(download) and not sensitive(cancel), 120)
    ctx.screenshot('cancelled')
    sent = len([line for line in p.controller_log() if line.startswith('>')])
    check(sent < 2 * 21 * 62, 'the download was not cancelled (%d messages)' % sent)

    transfer(p, 'Download All to Q9')
    # Download All sends every control's record and LCD text; group names,
    # common parameters and curves go with the global pages' own transfer.
    check_same('the controls in the controller and in the library', read(p.memory_out)[2:CONTROLS_END],
               device_view(read(first_lib)))
    p.menu('Library file', 'New ...')
    cleared_lib = ctx.path('cleared.cvq')
    p.file_dialog(cleared_lib, 'Open')
    p.label_shown(cleared_lib + ' (unsaved)')
    texts = transfer(p, 'Upload All from Q9', question='Save')
    check(texts == ['Save the changes to cleared.cvq?'], 'question %r' % texts)
    ctx.screenshot('uploaded')
    uploaded_lib = ctx.path('uploaded.cvq')
    save_as(p, uploaded_lib)
    uploaded, cleared = read(uploaded_lib), read(cleared_lib)
    check_same('the controls uploaded and sent', uploaded[2:CONTROLS_END], device_view(read(first_lib)))
    check_same('the rest of the uploaded and the new library', uploaded[:2] + uploaded[CONTROLS_END:],
               cleared[:2] + cleared[CONTROLS_END:])
    p.menu('Library file', 'Exit')
    p.wait_exit()


def unsaved_work(ctx):
    """Undo and redo of a typed edit; the recovery file kept while it is
    unsaved and offered back after a kill; the close box asks before unsaved
    work is dropped, and drops the recovery file with it."""
    p = ctx.start()
    p.set_check('Offline mode', True)
    p.menu('Library file', 'Load default')
    p.label_shown('- (unsaved)')
    lib = ctx.path('work.cvq')
    save_as(p, lib)
    wait_for('no recovery file once saved', lambda: not os.path.exists(ctx.recovery_file))
    show_page(p, USER_PAGE)
    click_control(p, 8)
    lcd_field = assignment_fields(p)[1]
    saved_text = text_of(lcd_field)
    p.type_into(lcd_field, 'Unsaved work')
    p.label_shown(lib + ' (unsaved)')
    p.menu_item('Edit', 'Undo LCD string')
    p.key('ctrl+z')
    wait_for('the edit undone', lambda: text_of(lcd_field) == saved_text)
    p.label_shown(lib)
    p.key('ctrl+y')
    wait_for('the edit redone', lambda: text_of(lcd_field) == 'Unsaved work')
    p.label_shown(lib + ' (unsaved)')
    wait_for('the edit in the recovery file', lambda: b'Unsaved work' in read(ctx.recovery_file))
    ctx.screenshot('unsaved')
    p.kill()

    p = ctx.start()
    texts = p.message('Restore')
    check(len(texts) == 1 and re.search(r' \d{4}-\d\d-\d\d \d\d:\d\d\?$', texts[0]), 'question %r' % texts)
    p.label_shown('recovered work (unsaved)')
    p.set_check('Offline mode', True)
    show_page(p, USER_PAGE)
    click_control(p, 8)
    wait_for('the edit back', lambda: text_of(assignment_fields(p)[1]) == 'Unsaved work')
    ctx.screenshot('restored')
    for answer in ('Cancel', "Don't save"):   # the second close box finds the program still there
        p.close_box()
        texts = p.message(answer)
        check(texts == ['Save the changes to the current library?'], 'question %r' % texts)
    p.wait_exit()
    check(not os.path.exists(ctx.recovery_file), "the recovery file outlived Don't save")


SCENARIOS = {f.__name__: f for f in (first_start_offline, connected, unsaved_work)}


def main():
    """scenarios.py --list, or scenarios.py PREFIX LIBDIR SCRATCH ARTEFACTS SCENARIO"""
    if sys.argv[1] == '--list':
        print('\n'.join(SCENARIOS))
        return 0
    ctx, scenario_name = Session(*sys.argv[1:5]), sys.argv[5]
    try:
        SCENARIOS[scenario_name](ctx)
        log('PASS %s' % scenario_name)
        return 0
    except Exception as e:
        traceback.print_exc()
        ctx.screenshot('failure')
        log('FAIL %s: %s' % (scenario_name, e))
        return 1
    finally:
        if ctx.running():
            ctx.kill()


if __name__ == '__main__':
    sys.exit(main())
