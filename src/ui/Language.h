#pragma once

// Quillet speaks Japanese whatever the system's language, and so must what
// Qt draws for it: file dialogs, message box buttons, context menus. Call
// once, after the application object exists and before any widget.
namespace Language {
// False when Qt's Japanese translations are not installed.
bool useJapanese();
} // namespace Language
