# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the build scripts: every tree builds with clang and lld, which take about half the
# time GCC and ld take; CC and CXX choose others.
tavro_compilers=(-DCMAKE_C_COMPILER="${CC:-clang-14}" -DCMAKE_CXX_COMPILER="${CXX:-clang++-14}")
