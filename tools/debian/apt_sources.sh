# Shell functions (sourced) that reuse the machine's own Debian sources without
# changing its apt configuration: the project names no mirror of its own.

# Prints "URI SUITE KEYRING" for every enabled "deb" entry of the machine's apt
# configuration that serves this Debian release (its codename, -updates,
# -security); KEYRING is "-" when the entry names none.
debian_source_entries() {
  local codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  [ -n "$codename" ] || { echo "apt_sources: no VERSION_CODENAME in /etc/os-release" >&2; return 1; }
  local files=() f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && files+=("$f")
  done
  [ ${#files[@]} -gt 0 ] || return 0
  awk -v codename="$codename" '
    function emit(uri, suite, key) {
      if (suite == codename || index(suite, codename "-") == 1)
        print uri, suite, (key == "" ? "-" : key)
    }
    function flush(   n, m, i, j, u, s) {
      if (types ~ /(^| )deb( |$)/ && enabled != "no") {
        n = split(uris, u, " "); m = split(suites, s, " ")
        for (i = 1; i <= n; i++) for (j = 1; j <= m; j++) emit(u[i], s[j], signedby)
      }
      types = uris = suites = signedby = enabled = ""
    }
    FNR == 1 { flush(); deb822 = (FILENAME ~ /\.sources$/) }
    deb822 {
      if ($0 ~ /^[ \t]*$/) { flush(); next }
      if ($0 ~ /^#/) next
      key = tolower($1); sub(/:$/, "", key)
      value = $0; sub(/^[^:]*:[ \t]*/, "", value)
      if (key == "types") types = value
      else if (key == "uris") uris = value
      else if (key == "suites") suites = value
      else if (key == "signed-by") signedby = value
      else if (key == "enabled") enabled = tolower(value)
      next
    }
    $1 == "deb" {
      i = 2; key = ""
      if ($2 ~ /^\[/) {
        for (; i <= NF; i++) {
          if ($i ~ /^\[?signed-by=/) { key = $i; sub(/^\[?signed-by=/, "", key); sub(/\]$/, "", key) }
          if ($i ~ /\]$/) { i++; break }
        }
      }
      emit($i, $(i + 1), key)
    }
    END { flush() }
  ' "${files[@]}" | awk '!seen[$0]++'
}

# Prints the URI of the machine's Debian archive for this release (the one
# serving the bare codename), for tools such as debootstrap that want a mirror.
debian_mirror() {
  local codename uri
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  uri=$(debian_source_entries | awk -v c="$codename" '$2 == c { print $1; exit }')
  [ -n "$uri" ] || { echo "apt_sources: the machine's apt configuration has no Debian '$codename' entry" >&2; return 1; }
  echo "$uri"
}

# fetch_debian_packages DIR COMPONENT PKG...: downloads PKG... from the machine's
# Debian sources restricted to COMPONENT (for instance non-free) through a
# private apt tree under DIR, and unpacks each into DIR/root. Packages already
# unpacked there are not fetched again.
fetch_debian_packages() {
  local dir=$1 component=$2; shift 2
  local need=() p
  for p in "$@"; do [ -f "$dir/unpacked/$p" ] || need+=("$p"); done
  [ ${#need[@]} -eq 0 ] && return 0
  mkdir -p "$dir/apt/lists/partial" "$dir/apt/cache/archives/partial" "$dir/debs" "$dir/root" "$dir/unpacked"
  # apt reads relative Dir:: paths against its own root, not the current folder.
  dir=$(cd "$dir" && pwd)
  local list="$dir/apt/sources.list" uri suite key
  : > "$list"
  while read -r uri suite key; do
    if [ "$key" = "-" ]; then echo "deb $uri $suite $component"
    else echo "deb [signed-by=$key] $uri $suite $component"; fi
  done < <(debian_source_entries) >> "$list"
  [ -s "$list" ] || { echo "apt_sources: no Debian source to fetch ${need[*]} from" >&2; return 1; }
  local apt_opts=(
    -o Dir::Etc::SourceList="$list" -o Dir::Etc::SourceParts=/dev/null
    -o Dir::State::Lists="$dir/apt/lists" -o Dir::State::Status=/dev/null
    -o Dir::Cache="$dir/apt/cache" -o Debug::NoLocking=1 -o APT::Sandbox::User=root
  )
  apt-get -q "${apt_opts[@]}" update >&2 || return 1
  (cd "$dir/debs" && apt-get -q "${apt_opts[@]}" download "${need[@]}") >&2 || return 1
  for p in "${need[@]}"; do
    local deb
    deb=$(ls -t "$dir/debs/${p}_"*.deb 2>/dev/null | head -n1)
    [ -n "$deb" ] || { echo "apt_sources: $p was not downloaded" >&2; return 1; }
    dpkg-deb -x "$deb" "$dir/root" || return 1
    basename "$deb" > "$dir/unpacked/$p"
  done
}
