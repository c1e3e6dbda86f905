#!/usr/bin/env bash
# Mutation check: applies hand-made slips to the code one at a time, rebuilds,
# runs the whole suite (the printing tests aside: no slip touches printing)
# and reports which slips the tests kill.
#
#   scripts/mutants.sh [work_dir] [name_regex]   (only the slips whose name matches)
#
# Works on a copy of the tracked files (uncommitted edits included) in
# work_dir (default build-mutants), so the working tree is never touched.
# A slip whose text no longer occurs exactly once in its file is reported as
# not applicable: after the code changes, update its line below. A slip that
# does not build is reported apart. Exits non-zero when a slip survives.
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-build-mutants}
filter=${2:-}
tree=$work/tree
build=$work/build

rm -rf "$tree"
mkdir -p "$tree" "$build"
git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$tree"
# Newer than any object of an earlier run, which may hold a slip (ccache
# makes the full rebuild cheap).
find "$tree" -type f -exec touch {} +

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELVANE_WERROR=ON \
  -DKELVANE_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
jobs=$(nproc)

build_and_test() {
  cmake --build "$build" -j "$jobs" >"$work/build.log" 2>&1 || return 2
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j "$jobs" -E Print --timeout 600 \
    --stop-on-failure >"$work/test.log" 2>&1 || return 1
  return 0
}

echo "mutants: building and testing the unchanged code"
if ! build_and_test; then
  echo "mutants: the unchanged code does not build or pass (see $work/*.log)" >&2
  exit 2
fi

killed=0
survived=0
stillborn=0
missing=0
survivors=()

# mutant <name> <file> <text> <replacement>: one slip, the text occurring
# exactly once in the file.
mutant() {
  local name=$1 file=$tree/$2
  if [ -n "$filter" ] && ! [[ $name =~ $filter ]]; then
    return
  fi
  local count
  count=$(FROM=$3 perl -0777 -ne '$c = () = /\Q$ENV{FROM}\E/g; print $c' "$file")
  if [ "$count" != 1 ]; then
    echo "mutants: NOT APPLICABLE $name ($2: text found $count times)"
    missing=$((missing + 1))
    return
  fi
  cp "$file" "$work/original"
  FROM=$3 TO=$4 perl -0777 -pi -e 's/\Q$ENV{FROM}\E/$ENV{TO}/' "$file"
  local status=0
  build_and_test || status=$?
  cp "$work/original" "$file"
  case $status in
    0)
      echo "mutants: SURVIVED $name"
      survived=$((survived + 1))
      survivors+=("$name")
      ;;
    1)
      local failed
      failed=$(sed -n 's/.*Test *#[0-9]*: \([^ ]*\) .*\*\*\*.*/\1/p' "$work/test.log" | head -1)
      echo "mutants: killed $name (${failed:-a test failed})"
      killed=$((killed + 1))
      ;;
    *)
      echo "mutants: DOES NOT BUILD $name"
      stillborn=$((stillborn + 1))
      ;;
  esac
}

# --- Plane sets ---------------------------------------------------------------
mutant rake_axes_swapped src/analysis/slip_direction.cpp \
  'slip.rake = Degrees(std::atan2(Dot(v, upDip), Dot(v, strike)));' \
  'slip.rake = Degrees(std::atan2(Dot(v, strike), Dot(v, upDip)));'
mutant slip_along_shear src/analysis/slip_direction.cpp \
  'const LongVector shear{sigma * n.x - t.x, sigma * n.y - t.y, sigma * n.z - t.z};' \
  'const LongVector shear{t.x - sigma * n.x, t.y - sigma * n.y, t.z - sigma * n.z};'
mutant strike_left_hand src/tables/plane_reader.cpp \
  'plane.dipDirection = strike ? Modulo360(reduced + 90.0) : reduced;' \
  'plane.dipDirection = strike ? Modulo360(reduced - 90.0) : reduced;'
mutant vertical_dip_refused src/tables/plane_reader.cpp \
  'if (!(*typedDip >= 0.0 && *typedDip <= 90.0)) {' 'if (!(*typedDip >= 0.0 && *typedDip < 90.0)) {'
mutant plane_cohesion_for_friction src/engine/plane_results.cpp \
  'return plane.HasOwnPhi() ? plane.phi : defaults.phi.value_or(kNone);' \
  'return plane.HasOwnPhi() ? plane.phi : defaults.cohesion.value_or(kNone);'
mutant plane_sort_reversed src/ui/planes/plane_table_model.cpp \
  'return descending ? y < x : x < y;' 'return descending ? x < y : y < x;'
mutant viridis_reversed src/figures/plane_dots.cpp \
  'return Viridis((value - range.low) / (range.high - range.low));' \
  'return Viridis((range.high - value) / (range.high - range.low));'
mutant mohr_title_elided src/ui/charts/mohr_chart.cpp \
  'axis->setTitleText(fits ? titles[0] : titles[1]);' 'axis->setTitleText(titles[0]);'
mutant report_planes_ascending src/ui/report/report_page.cpp \
  '    return x > y;' '    return x < y;'

# --- Number texts -----------------------------------------------------------
mutant exponent_limit_inclusive src/text/number_text.cpp \
  'exponent < kExponentDigitLimit' 'exponent <= kExponentDigitLimit'
mutant dropped_digits_ignored src/text/number_text.cpp \
  'const bool exact = !tailNonZero && keptScale' 'const bool exact = keptScale'
mutant rounding_on_six src/text/number_text.cpp \
  "if (expanded[keep] >= '5') {" "if (expanded[keep] > '5') {"
mutant sign_on_zero src/text/number_text.cpp \
  'if (negative && r.count > 0)' 'if (negative)'
mutant groups_shifted src/text/number_text.cpp \
  'if (power > 0 && power % 3 == 0)' 'if (power > 0 && power % 3 == 1)'
mutant sixteen_digits src/text/number_text.cpp \
  'constexpr int kShownDigits = 15;' 'constexpr int kShownDigits = 16;'
mutant scientific_late src/text/number_text.cpp \
  'rounded.exponent >= kShownDigits' 'rounded.exponent > kShownDigits'
mutant plus_reads_negative src/text/number_text.cpp \
  "parts.negative = text[i] == u'-';" "parts.negative = text[i] == u'+';"
mutant lone_separator_fails src/text/number_text.cpp \
  'if (parts.whole.isEmpty() && !hasSeparator)' 'if (parts.whole.isEmpty())'
mutant seventeen_decimals src/text/number_text.cpp \
  'constexpr int kMaxDecimals = 18;' 'constexpr int kMaxDecimals = 17;'
mutant quote_limit_80 src/text/number_text.cpp \
  'constexpr qsizetype kQuotedWhole = 81;' 'constexpr qsizetype kQuotedWhole = 80;'
mutant nul_quoted src/text/number_text.cpp \
  'quotedText.replace(QChar(0),' 'quotedText.replace(QChar(1),'

# --- Principal values -------------------------------------------------------
mutant zero_tensor_1e-8 src/stress/principal_roots.cpp \
  'constexpr double kZeroTensor = 1e-9;' 'constexpr double kZeroTensor = 1e-8;'
mutant repeated_roots_unguarded src/stress/principal_roots.cpp \
  'std::sqrt(std::fabs(q3 - rl * rl))' 'std::sqrt(q3 - rl * rl)'
mutant third_of_theta src/stress/principal_roots.cpp \
  'Store(static_cast<Extended>(theta) / 3.0)' 'Store(static_cast<Extended>(theta) / 2.0)'
mutant mean_remainder_dropped src/stress/deviatoric_stress.h \
  'const numeric::Extended remainder = (ex + ey + ez) / 3.0;' \
  'const numeric::Extended remainder = 0.0 * (ex + ey + ez);'
mutant plane_pair_angle_doubled src/stress/plane_pair.cpp \
  'std::atan2(b12, halfDifference) / 2.0' 'std::atan2(b12, halfDifference)'
mutant plane_pair_left_handed src/stress/plane_pair.cpp \
  'pair.lowerAxis = Cross(a, pair.upperAxis);' 'pair.lowerAxis = Cross(pair.upperAxis, a);'

# --- Principal axes and angles ----------------------------------------------
mutant candidate_rule_1e-3 src/stress/axis_candidate.cpp \
  'kUsableNorm = 1e-4L' 'kUsableNorm = 1e-3L'
mutant near_vertical_1e-5 src/stress/principal_axes.cpp \
  'kVerticalX = 1e-6L' 'kVerticalX = 1e-5L'
mutant east_angle_turned_back src/stress/principal_axes.cpp \
  'east += numeric::kPi;' 'east -= numeric::kPi;'
mutant angle_mode_swapped src/stress/principal_axes.cpp \
  'Extended azimuth = convention == Azimuth::kClockwiseFromNorth' \
  'Extended azimuth = convention != Azimuth::kClockwiseFromNorth'
mutant plane_dip_direction_opposite src/stress/principal_axes.cpp \
  'Store((numeric::kHalfPi - angles.eastAngle) - numeric::kPi)' \
  'Store(numeric::kHalfPi - angles.eastAngle)'
mutant handedness_sum src/stress/principal_axes.cpp \
  'SignOf(Store(m2 * n3 - n2 * m3))' 'SignOf(Store(m2 * n3 + n2 * m3))'

# --- Joint ------------------------------------------------------------------
mutant joint_normal_x_y_swapped src/stress/joint_stresses.cpp \
  'return {Store(t.sinBeta * t.sinPsi), Store(t.cosBeta * t.sinPsi),' \
  'return {Store(t.cosBeta * t.sinPsi), Store(t.sinBeta * t.sinPsi),'
mutant tau_wrong_pair src/stress/joint_stresses.cpp \
  '(s3 - s1) * (s3 - s1) * kk3 * kk1' '(s3 - s1) * (s3 - s1) * kk3 * kk2'
mutant friction_subtracted src/stress/joint_stresses.cpp \
  'Store(cohesion + sigma * numeric::Tan(' 'Store(cohesion - sigma * numeric::Tan('
mutant tension_cut_at_zero src/stress/joint_stresses.cpp \
  'return sigma < 0.0 ? 0.0 : limit;' 'return sigma <= 0.0 ? 0.0 : limit;'

# --- Net geometry -----------------------------------------------------------
mutant radius_without_square src/projection/equal_area.cpp \
  'numeric::Sqrt((value + g * g) / 2.0)' 'numeric::Sqrt((value + g) / 2.0)'
mutant pole_opposite src/projection/equal_area.cpp \
  'SinCos(3.0 * kPi / 2.0 - dipDirection)' 'SinCos(kPi / 2.0 - dipDirection)'
mutant trace_short_of_rim src/projection/equal_area.cpp \
  '- startAngle) / 180.0;' '- startAngle) / 181.0;'
mutant sorted_ties_reversed src/projection/point_list.cpp \
  'return stored.x <= x;' 'return stored.x < x;'

# --- Window and pass --------------------------------------------------------
mutant joint_dip_direction_in_degrees src/engine/pass.cpp \
  'projection::FoldedPlane(ToRadians(beta), ToRadians(psi))' \
  'projection::FoldedPlane(beta, ToRadians(psi))'
mutant principal_plane_with_axis_dip src/engine/pass.cpp \
  'stress::PrincipalPlane(angles)}' \
  'stress::PlaneAngles{stress::PrincipalPlane(angles).dipDirection, angles.dip}}'
mutant handedness_on_s2 src/engine/pass.cpp \
  '{{Scaled(f, axes[0]), axes[1], axes[2]}}' '{{axes[0], Scaled(f, axes[1]), axes[2]}}'
mutant cohesion_from_friction_box src/engine/pass.cpp \
  'joint.c = Read(inputs, Input::kJointCohesion);' \
  'joint.c = Read(inputs, Input::kJointFriction);'
mutant friction_read_before_cohesion src/engine/pass.cpp \
  'joint.c = Read(inputs, Input::kJointCohesion);
  joint.phi = Read(inputs, Input::kJointFriction);' \
  'joint.phi = Read(inputs, Input::kJointFriction);
  joint.c = Read(inputs, Input::kJointCohesion);'
# --- Derived quantities, the Mohr window, the focus -------------------------
mutant limit_line_c_phi_swapped src/ui/charts/mohr_chart.cpp \
  'analysis::LimitLine(j.c, j.phi, sigmaMin, sigmaMax)' \
  'analysis::LimitLine(j.phi, j.c, sigmaMin, sigmaMax)'
mutant limit_line_kept_without_joint src/ui/charts/mohr_chart.cpp \
  'limit_->clear();' ';'
mutant regime_plunges_swapped src/engine/derived.cpp \
  'results.directions[1]->dip,
                                    results.directions[2]->dip' \
  'results.directions[2]->dip,
                                    results.directions[1]->dip'
mutant infinity_as_INF src/text/result_rows.cpp \
  'QString(QChar(0x221e))' 'QStringLiteral("INF")'
mutant inputs_copied_with_six_decimals src/text/result_rows.cpp \
  'FormatNumber(value, 15, separators)' 'FormatNumber(value, 6, separators)'
mutant fold_at_vertical src/projection/folded_plane.cpp \
  'dip <= static_cast<double>(numeric::kHalfPi)' 'dip < static_cast<double>(numeric::kHalfPi)'
mutant negligible_candidate_1e_2 src/stress/axis_candidate.h \
  'kNegligibleCandidate = 1e-3;' 'kNegligibleCandidate = 1e-2;'
mutant focus_box_not_reset src/ui/main/commands.cpp \
  'unreadBox_ = nullptr;' ';'
mutant mohr_ignores_locale_change src/ui/mohr/mohr_window.cpp \
  'separators_ = text::SeparatorsOf(QLocale());
    ContentChanged();' 'separators_ = text::SeparatorsOf(QLocale());'
mutant residue_shear_not_zero src/analysis/effective_stress.cpp \
  'stresses.tau <= AgreementBound(scale) ? 0.0 : stresses.tau' 'stresses.tau'
mutant effective_limit_on_total src/analysis/effective_stress.cpp \
  'Kept(joint.c + sigma * tanPhi)' 'Kept(joint.c + stresses.sigma * tanPhi)'
mutant cli_effective_columns_swapped src/cli/tensor_table.cpp \
  '&d.factorOfSafety, &d.sigmaEffective,
          &d.tauLimEffective,' '&d.factorOfSafety, &d.tauLimEffective,
          &d.sigmaEffective,'
mutant report_cosines_transposed src/ui/report/report_page.cpp \
  'Shown(text::CosineField(i, component))' 'Shown(text::CosineField(component, i))'
mutant report_azimuth_and_dip_swapped src/ui/report/report_page.cpp \
  '{Shown(text::AzimuthField(i)), colour},
                      {Shown(text::DipField(i)), colour}' \
  '{Shown(text::DipField(i)), colour},
                      {Shown(text::AzimuthField(i)), colour}'
mutant report_s1_s3_colours_swapped src/ui/report/report_page.cpp \
  'text::FieldOf(text::ValueField(i)).colour' 'text::FieldOf(text::ValueField(2 - i)).colour'
mutant report_values_black src/ui/report/report_page.cpp \
  '{Shown(text::ValueField(i)), colour},' '{Shown(text::ValueField(i))},'
mutant s1_s3_colours_swapped src/text/shown_fields.h \
  '{"input_s1", "s1", kStressDecimals, projection::kGreen},
    {"input_s2", "s2", kStressDecimals, projection::kRed},
    {"input_s3", "s3", kStressDecimals, projection::kBlue},' \
  '{"input_s1", "s1", kStressDecimals, projection::kBlue},
    {"input_s2", "s2", kStressDecimals, projection::kRed},
    {"input_s3", "s3", kStressDecimals, projection::kGreen},'
mutant error_text_point_rule src/ui/common/error_guard.cpp \
  "message.back() > QLatin1Char('.')" "message.back() >= QLatin1Char('.')"
mutant joint_boxes_always_enabled src/ui/main/commands.cpp \
  'control->setEnabled(chkJoint_->isChecked());' 'control->setEnabled(true);'

# --- Return in the input boxes ----------------------------------------------
mutant return_on_editing_finished src/ui/main/main_window.cpp \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::Button1Click' \
  '&QLineEdit::editingFinished, this, &TFrmMorvane::Button1Click'
mutant return_on_text_edited src/ui/main/main_window.cpp \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::Button1Click' \
  '&QLineEdit::textEdited, this, &TFrmMorvane::Button1Click'
mutant return_on_input_rejected src/ui/main/main_window.cpp \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::Button1Click' \
  '&QLineEdit::inputRejected, this, &TFrmMorvane::Button1Click'
mutant return_chooses_east src/ui/main/main_window.cpp \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::Button1Click' \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::mnuAngleLeftClick'
mutant return_chooses_north src/ui/main/main_window.cpp \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::Button1Click' \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::mnuAngleRightClick'
mutant return_toggles_cosines src/ui/main/main_window.cpp \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::Button1Click' \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::chkDirectiveCosinesClick'
mutant return_saves_report src/ui/main/main_window.cpp \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::Button1Click' \
  '&QLineEdit::returnPressed, this, &TFrmMorvane::mnuSaveReportClick'

# --- Orientation statistics and pole density --------------------------------
mutant fisher_kappa_over_n src/analysis/orientation_statistics.cpp \
  '(total - 1.0L) / spread' \
  'total / spread'
mutant fisher_cone_at_confidence src/analysis/orientation_statistics.cpp \
  'std::log(static_cast<long double>(1.0 - confidence))' \
  'std::log(static_cast<long double>(confidence))'
mutant fisher_axes_not_flipped src/analysis/orientation_statistics.cpp \
  'Dot(a.axis, reference) < 0.0 ? -a.weight' \
  'Dot(a.axis, reference) < -2.0 ? -a.weight'
mutant woodcock_k_inverted src/analysis/orientation_statistics.cpp \
  'std::log(s1 / s2) / std::log(s2 / s3)' \
  'std::log(s2 / s3) / std::log(s1 / s2)'
mutant horizontal_axis_either_way src/analysis/orientation_statistics.cpp \
  'flip = axis.x < 0.0 || (axis.x == 0.0 && axis.y < 0.0);' \
  'flip = false;'
mutant terzaghi_uncapped src/analysis/orientation_statistics.cpp \
  'return c * cap > 1.0 ? 1.0 / c : cap;' \
  'return c > 0.0 ? 1.0 / c : cap;'
mutant kmeans_directions_not_axes src/analysis/orientation_statistics.cpp \
  'const double c = std::fabs(Dot(axes[i].axis, centres[j]));' \
  'const double c = Dot(axes[i].axis, centres[j]);'
mutant sets_lightest_first src/analysis/orientation_statistics.cpp \
  'return weights[a] > weights[b];' \
  'return weights[a] < weights[b];'
mutant density_sigma_unweighted src/analysis/pole_density.cpp \
  'sigma_ = std::sqrt((m2 - m1 * m1) * w2);' \
  'sigma_ = std::sqrt((m2 - m1 * m1) * n);'
mutant kamb_cap_k_not_squared src/analysis/pole_density.cpp \
  'const double area = k * k / (n + k * k);' \
  'const double area = k / (n + k * k);'
mutant kernel_term_rounded src/analysis/pole_density.cpp \
  'p = p * r + 1.0 / 39916800.0;' \
  'p = p * r + 1.0 / 3991680.0;'
mutant density_cubes_short src/analysis/pole_density.cpp \
  'reach_ = std::sqrt(2.0 * (1.0 - capCosine_))' \
  'reach_ = std::sqrt(1.0 * (1.0 - capCosine_))'
mutant peak_without_newton src/analysis/pole_density.cpp \
  'if (h11 < 0.0 && det > 0.0) {' \
  'if (h11 < 0.0 && det < 0.0) {'

total=$((killed + survived))
echo "mutants: $killed of $total killed, $survived survived" \
  "($stillborn did not build, $missing not applicable)"
for name in "${survivors[@]}"; do
  echo "mutants: survivor: $name"
done
((survived == 0 && missing == 0 && stillborn == 0))
