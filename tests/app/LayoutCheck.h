#ifndef QUENVAR_TESTS_LAYOUTCHECK_H
#define QUENVAR_TESTS_LAYOUTCHECK_H

class wxWindow;

// Adds a failure for every shown window below root (top-level windows
// excepted) that reaches out of its parent, overlaps a shown sibling, or is
// narrower (labels: also lower) than its text needs; only root's own
// children unless intoChildren.
void ExpectTidyLayout(wxWindow* root, bool intoChildren = true);

#endif
