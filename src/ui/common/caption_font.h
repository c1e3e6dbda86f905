#pragma once
// The face the window's captions are drawn in: the platform's UI face at the
// layout's pixel size, condensed uniformly just enough for every caption to
// fit the width its label is given. Stretch in percent of the face's normal
// width (QFont::setStretch).

#include <QFont>
#include <QList>
#include <functional>

class QLabel;

namespace ui {

/// The widest stretch s with narrowest < s < above at which fits(s) holds;
/// `narrowest` when there is none (it is not asked). A narrower face is never
/// wider, so fits holds below any stretch where it holds. The search starts
/// at `guess` and widens its steps until it brackets the answer, then halves
/// the bracket: two questions when the guess is right, and never more than
/// about twice log2 of the distance from the guess.
int WidestFittingStretch(int narrowest, int above, int guess, const std::function<bool(int)>& fits);

/// `font` as it is when every label's text is no wider than the label; else
/// `font` at the widest stretch below QFont::Unstretched, down to
/// `narrowest`, at which they all fit, or at `narrowest` when none does.
/// The search starts at `guess`: any guess gives the same face, the right one
/// loads two faces (the one returned and the next wider).
QFont CondensedToFit(const QFont& font, const QList<QLabel*>& labels, int narrowest, int guess);

}  // namespace ui
