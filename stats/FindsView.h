#pragma once
// What the finds analysis writes to: the main window implements this, and so do the
// command-line tool and the tests.
#include <QString>

enum class TFindsLabel { AnzZeilen, PQ, Cacher, Caches, Tage };
enum class TFindsPane { Dates, Days, Histogram };

class IFindsView {
public:
    virtual ~IFindsView() = default;
    // Sets the label's text and makes it visible.
    virtual void SetLabel(TFindsLabel label, const QString& text) = 0;
    // Replaces the pane's whole content and format.
    virtual void SetPaneText(TFindsPane pane, const QString& text) = 0;
    // Appends one line in the pane's own font and colour.
    virtual void AppendLine(TFindsPane pane, const QString& text) = 0;
    // Appends one line in `color` (red + 256 * green + 65536 * blue), bold.
    virtual void AppendColoredLine(TFindsPane pane, const QString& text, int color) = 0;
    // The modal refusal box: caption "Fehler", error icon, one "OK" button.
    virtual void ShowRefusal(const QString& text) = 0;
    // Lets the window handle its pending events once.
    virtual void ProcessPendingMessages() = 0;
};
