#pragma once

namespace rovanta {

// Lets screen readers read and edit every TextBox as they read a line edit. Called where the window builds
// its text boxes, before a reader asks for them; only the first call installs anything.
void installTextBoxAccessibility();

} // namespace rovanta
