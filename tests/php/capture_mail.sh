#!/bin/sh
# Stands in for sendmail: keeps each message PHP hands over as a file, and
# the arguments it was given beside it, one a line.
# Usage (as sendmail_path): capture_mail.sh <folder> [sendmail arguments]
folder=$1
shift
name=$(date +%s%N)-$$
printf '%s\n' "$@" > "$folder/$name.args"
cat > "$folder/$name.tmp" && mv "$folder/$name.tmp" "$folder/$name.eml"
