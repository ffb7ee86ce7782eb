# Prints each block-list entry with its inflected forms, one a line, so that
# "abuse" also blocks abuses, abused, abusing, abusive and the like. An entry
# written "=word" blocks that word alone ("=ass" must not block "assist").
# The forms need not be real words: only those in the list matter.
function vowel_start(x) { return x ~ /^[aeiouy]/ }
BEGIN {
  n = split("s es d ed ing er ers r rs est ly ist ists ism isms ive ion ions ic ity y ish ness", suffix, " ")
}
{
  w = tolower($0)
  exact = w ~ /^=/
  gsub(/[^a-z]/, "", w)
  if (w == "") next
  print w
  if (exact) next
  last = substr(w, length(w), 1)
  stem = substr(w, 1, length(w) - 1)
  # Consonant, vowel, consonant at the end: the consonant doubles (murder
  # does not, but kidnap -> kidnapped); a final e drops (abuse -> abusing);
  # a final y after a consonant turns into i (bloody -> bloodier).
  doubles = length(w) >= 3 && substr(w, length(w) - 2) ~ /^[^aeiou][aeiou][^aeiouwxy]$/
  y_to_i = last == "y" && substr(w, length(w) - 1, 1) !~ /[aeiou]/
  for (i = 1; i <= n; ++i) {
    x = suffix[i]
    print w x
    if (last == "e" && vowel_start(x)) print stem x
    if (doubles && vowel_start(x)) print w last x
    if (y_to_i && x !~ /^i/) print stem "i" x
  }
}
