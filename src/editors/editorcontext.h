#pragma once

#include "window/controllookup.h"
#include "window/editorstate.h"
#include "window/handlertable.h"

#include <QLineEdit>

namespace spk {

class EditUndo;
class ResponseGraph;

// What every editor works with: the shared state, the controls by name, the handlers by name,
// the response graph and the undo history (for the edits that make one step of many: a drag, the
// wheel, the EQ reset). The main window builds one and hands it out.
struct EditorContext
{
    EditorState &state;
    ControlLookup &controls;
    HandlerTable &handlers;
    ResponseGraph &graph;
    EditUndo *undo = nullptr;

    // The focus sink: an edit with no handlers that takes the focus so the focused editor commits.
    QLineEdit *focusSink() const { return controls.require<QLineEdit>(QStringLiteral("edt_empty")); }
};

} // namespace spk
