#!/bin/sh
# Stands in for sendmail: keeps each message PHP hands over as a file. A message
# whose To line starts with TRESSEL_REFUSED_RECIPIENT, when that is set, is
# refused (exit status 1) and not kept, as by a mail program that fails.
# Usage (as sendmail_path): capture_mail.sh <folder>
folder=$1
name=$(date +%s%N)-$$
shift && printf '%s\n' "$@" >"$folder/$name.args" # the arguments PHP gave, one a line
cat > "$folder/$name.tmp"
if [ -n "$TRESSEL_REFUSED_RECIPIENT" ] && grep -q "^To: $TRESSEL_REFUSED_RECIPIENT" "$folder/$name.tmp"; then
    rm -f "$folder/$name.tmp" "$folder/$name.args"
    exit 1
fi
mv "$folder/$name.tmp" "$folder/$name.eml"
