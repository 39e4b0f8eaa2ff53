"""End-to-end scenarios: each one a function, run alone by tests/e2e/run."""

import argparse
import os
import sys
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pyatspi  # noqa: E402

from e2e import (TITLE, Context, Failure, check, do_action, find_all, first,  # noqa: E402
                 log, name, press, read, role, sensitive, showing, wait_for, text_of,
                 has_state, children, extents, xdotool, checked)

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
        ctx.screenshot('failure')
        log('FAIL %s: %s' % (args.scenario, e))
        return 1
    finally:
        if ctx.program is not None:
            ctx.program.stop()


if __name__ == '__main__':
    sys.exit(main())
