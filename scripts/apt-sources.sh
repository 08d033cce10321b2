# Sourced by the set-up scripts: the machine's Debian release and its archive entry, read from
# apt's sources whichever way they are written (one-line lists or deb822 files).
# debian_entry skips the file named by skip_list (the set-up's own deb-src entry).
codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
codename=${codename:-bookworm}

# Prints the first deb entry for "$codename" with component main, as deb822 fields.
debian_entry() {
  local files=()
  [ -f /etc/apt/sources.list ] && files+=(/etc/apt/sources.list)
  for f in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "${skip_list:-}" ] && files+=("$f")
  done
  [ "${#files[@]}" -gt 0 ] || return 0
  awk -v suite="$codename" '
    function has(list, word,   n, i, parts) {
      n = split(list, parts, /[ \t]+/)
      for (i = 1; i <= n; i++) if (parts[i] == word) return 1
      return 0
    }
    function first(list,   parts) { split(list, parts, /[ \t]+/); return parts[1] }
    function flush() {
      if (!found && has(types, "deb") && has(suites, suite) && has(comps, "main") && uris != "") {
        print "URIs: " first(uris)
        if (key != "") print "Signed-By:" key
        found = 1
      }
      types = uris = suites = comps = key = ""; inkey = 0
    }
    FNR == 1 { flush(); deb822 = (FILENAME ~ /\.sources$/) }
    deb822 {
      if ($0 ~ /^[ \t]*$/) { flush(); next }
      if ($0 ~ /^#/) next
      if (inkey && $0 ~ /^[ \t]/) { key = key "\n" $0; next }
      inkey = 0
      field = tolower($0); sub(/:.*/, "", field)
      value = $0; sub(/^[^:]*:[ \t]*/, "", value)
      if (field == "types") types = value
      else if (field == "uris") uris = value
      else if (field == "suites") suites = value
      else if (field == "components") comps = value
      else if (field == "signed-by") { key = " " value; inkey = 1 }
      next
    }
    {
      line = $0; sub(/#.*/, "", line)
      if (line !~ /^[ \t]*deb[ \t]/) next
      opts = ""
      if (match(line, /\[[^]]*\]/)) {
        opts = substr(line, RSTART + 1, RLENGTH - 2)
        line = substr(line, 1, RSTART - 1) " " substr(line, RSTART + RLENGTH)
      }
      n = split(line, w, /[ \t]+/)
      j = 0
      for (i = 1; i <= n; i++) if (w[i] != "") words[++j] = w[i]
      if (j < 4) next
      types = "deb"; uris = words[2]; suites = words[3]; comps = ""
      for (i = 4; i <= j; i++) comps = comps " " words[i]
      key = ""
      m = split(opts, o, /[ \t]+/)
      for (i = 1; i <= m; i++) if (tolower(o[i]) ~ /^signed-by=/) { key = o[i]; sub(/^[^=]*=/, " ", key) }
      flush()
    }
    END { flush() }
  ' "${files[@]}"
}

