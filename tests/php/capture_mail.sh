#!/bin/sh
# Stands in for sendmail: keeps each message PHP hands over as a file.
# Usage (as sendmail_path): capture_mail.sh <folder>
folder=$1
name=$(date +%s%N)-$$
cat > "$folder/$name.tmp" && mv "$folder/$name.tmp" "$folder/$name.eml"
