#pragma once

#include <functional>

class PreviewWindow;
class QWidget;
class WorkingCopy;

// The main window's print command ("打印(&P)", Ctrl+P, toolbar "打印"): lets pending
// events through, runs `stopEditorTimer` (the editor timer stays off afterwards), closes
// an open preview, writes the report into the page script and shows it in a new,
// non-modal preview window at zoom "100". A centred text that does not fit is reported
// with "Error in coords!!!!" and left out; a script that cannot be written is reported
// in a box titled with the failure number, and no preview opens (nullptr).
PreviewWindow *printReportCommand(QWidget *parent, const WorkingCopy &wc,
                                  const std::function<void()> &stopEditorTimer = {});

// The open preview window, or nullptr.
PreviewWindow *openPreview();
// Closes the open preview window, if any.
void closePreview();

// Deletes the page script; for the main window's close and the exit command.
void deletePrintScript();
