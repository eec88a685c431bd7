#!/bin/sh
# Stands in for sendmail: keeps each message PHP hands over as a file.
# Usage (as sendmail_path): capture_mail.sh <folder>
folder=$1
name=$(date +%s%N)-$$
shift && printf '%s\n' "$@" >"$folder/$name.args" # the arguments PHP gave, one a line
cat > "$folder/$name.tmp" && mv "$folder/$name.tmp" "$folder/$name.eml"
