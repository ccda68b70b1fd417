#pragma once

namespace rovanta {

// Lets screen readers read and edit every TextBox as they read a line edit. Called by each box; only the
// first call installs anything.
void installTextBoxAccessibility();

} // namespace rovanta
