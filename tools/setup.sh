#!/usr/bin/env bash
# Installs exactly the Debian packages that building, testing, benchmarking and running QUIL need.
# Idempotent: asks apt only for what is missing, and refreshes the package lists only then.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config              # toolchain
  qt6-base-dev libgl-dev                         # Qt 6 Widgets, PrintSupport, Network
  libsqlcipher-dev                               # the encrypted database engine
  libssl-dev                                     # its key derivation, done once per file and kept
  libgtest-dev libgmock-dev libbenchmark-dev     # tests and benchmarks
  clang libclang-rt-14-dev                       # sanitizer builds and fuzzers
  fonts-dejavu-core                              # text in offscreen widgets and PDFs
  fonts-liberation                               # the reports' Arial and Times New Roman, metric for metric
  fonts-droid-fallback fonts-symbola             # Chinese, Japanese, Korean letters and emoji in reports
  poppler-utils                                  # pdfinfo, pdftotext, pdftoppm: the report tests read PDFs back
  libreoffice-writer-nogui                       # the mail-merge file read back by a real word processor
  libreoffice-calc-nogui                         # the CSV export opened by a real spreadsheet
  xvfb xauth                                     # running the program without a desktop
  appstream                                      # appstreamcli: the package test validates the metainfo
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
