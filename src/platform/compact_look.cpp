#include "compact_look.h"

#ifdef __WXGTK3__
#include <gtk/gtk.h>

namespace {

// One style sheet for the program's screen, each compact rule scoped to the
// name that UseCompactLook gives a widget. The first rule draws state changes
// at once, without the theme's transitions: a transfer disables the whole
// window, and the theme's fades would redraw it for a quarter of a second, a
// frame at a time, while a click on Cancel waits for each frame to end.
const char kCompactCss[] = "* { transition: none; }"
                           " spinbutton#cvq9-compact-spin { min-height: 0; }"
                           " spinbutton#cvq9-compact-spin entry { min-height: 0; padding: 1px 3px; }"
                           " spinbutton#cvq9-compact-spin button { min-height: 0; min-width: 0; padding: 1px 3px; }"
                           " button#cvq9-compact-button { min-height: 0; padding: 2px 6px; }"
                           " entry#cvq9-compact-entry { min-height: 0; padding-top: 1px; padding-bottom: 1px; }"
                           " notebook#cvq9-compact-tabs tab { padding: 2px 5px; min-height: 0; }";

void InstallStyleSheet()
{
    static bool installed = false;
    if (installed)
        return;
    GdkScreen *screen = gdk_screen_get_default();
    if (!screen)
        return;
    GtkCssProvider *provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, kCompactCss, -1, nullptr);
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    installed = true;
}

const char *NameOf(CompactKind kind)
{
    switch (kind) {
    case CompactKind::Spin:
        return "cvq9-compact-spin";
    case CompactKind::Button:
        return "cvq9-compact-button";
    case CompactKind::TextField:
        return "cvq9-compact-entry";
    case CompactKind::Tabs:
        return "cvq9-compact-tabs";
    }
    return "";
}

}  // namespace

void UseCompactLook(wxWindow *window, CompactKind kind)
{
    if (!window || !window->GetHandle())
        return;
    InstallStyleSheet();
    gtk_widget_set_name(GTK_WIDGET(window->GetHandle()), NameOf(kind));
}

#else

void UseCompactLook(wxWindow *, CompactKind) {}

#endif
