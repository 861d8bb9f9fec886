// Publishes the framework's classes (controls, forms, fonts, pictures,
// timers) in the class registry, so that stored forms can create them by
// name and the skin engine can read and set their properties. Runs once;
// the application calls it when it starts.
#pragma once

namespace gui {

void RegisterFrameworkClasses();

// The dialogs' own form classes.
void RegisterDialogClasses();

}  // namespace gui
