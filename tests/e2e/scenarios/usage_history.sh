#!/bin/bash
# "History..." opens "Usage history" over the main window: the daily bars of the previous and
# the current calendar month from usage-history.csv in the data folder, sent and received
# stacked in their colours, the billing day marked and, without a data plan, no pace line (with
# one, the pace line and the plan's billing day). Copy
# puts both months' rows on the clipboard as CSV; the chart follows the dialog's size; Close
# ends it. At 144 DPI the dialog grows and the chart is drawn. Screenshots: history*.png.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../lib_data.sh"
e2e_start

sent_colour='#E67E22'
received_colour='#2980B9'
pace_colour='#C0392B'
billing_day_colour='#5A5A5A'

# Forty days up to today, more on later days, and one row long before both months.
previous_start=$(date -d "$(date +%Y-%m-01) -1 month" +%F)
history=$(data_file usage-history.csv)
mkdir -p "$(dirname "$history")"
printf 'date,sent,received\r\n%s,999,999\r\n' "$(date -d '-200 days' +%F)" >"$history"
copied='date,sent,received\r\n'
for ((ago = 39; ago >= 0; ago--)); do
  day=$(date -d "-$ago days" +%F)
  row="$day,$(((40 - ago) * 1048576)),$(((40 - ago) * 2097152))"
  printf '%s\r\n' "$row" >>"$history"
  [[ ! $day < $previous_start ]] && copied+="$row\\r\\n"
done

# colour_pixels PNG COLOUR: how many pixels of the image have exactly that colour.
colour_pixels() {
  convert "$1" -format %c histogram:info:- |
    awk -v colour="$2" 'toupper($3) == colour { sub(":", "", $1); n += $1 } END { print n + 0 }'
}

# chart_shot WIDTH HEIGHT PNG: gives the dialog that size on the screen's top left and cuts its
# screenshot out.
chart_shot() {
  local json rect
  json=$(probe resize "$1" "$2" 10 10 --dialog 'Usage history')
  rect=$(sed -E 's/.*"rect":\[([-0-9]+),([-0-9]+),([-0-9]+),([-0-9]+)\].*/\3-\1 \4-\2 \1 \2/' <<<"$json")
  read -r w h x y <<<"$rect"
  sleep 0.5
  import -window root -crop "$((w))x$((h))+$x+$y" +repage "$3"
}

kivo
probe wait-window >/dev/null
# The dialog is modal: the click returns when it closes.
expect_eq "history click" "$(probe click 1097)" '{"clicked":1097,"done":false}'
probe wait-window --dialog 'Usage history' >/dev/null
expect_eq "dialog controls" "$(probe read 1098 1099 2 --dialog 'Usage history' |
  grep -o '"id":[0-9]*,"class":"[A-Za-z]*"' | tr '\n' ' ')" \
  '"id":1098,"class":"Static" "id":1099,"class":"Button" "id":2,"class":"Button" '

chart_shot 760 440 "$OUT/history-small.png"
chart_shot 980 600 "$OUT/history.png"
small_received=$(colour_pixels "$OUT/history-small.png" "$received_colour")
large_received=$(colour_pixels "$OUT/history.png" "$received_colour")
e2e_log "received pixels: $small_received at 760x440, $large_received at 980x600"
((small_received > 1000)) || fail "no received bars at 760x440 (see $OUT/history-small.png)"
((large_received > small_received * 3 / 2)) || fail "the chart did not grow with the dialog"
(($(colour_pixels "$OUT/history.png" "$sent_colour") > 1000)) || fail "no sent bars"
(($(colour_pixels "$OUT/history.png" "$billing_day_colour") > 50)) || fail "no billing-day mark"
expect_eq "pace line without a plan" "$(colour_pixels "$OUT/history.png" "$pace_colour")" 0

expect_eq "copy" "$(probe click 1099 --dialog 'Usage history')" '{"clicked":1099,"done":true}'
expect_eq "clipboard" "$(probe clipboard)" "{\"text\":\"$copied\"}"

button_height() {
  probe read 2 --dialog 'Usage history' | sed -E 's/.*"rect":\[[0-9]+,([0-9]+),[0-9]+,([0-9]+)\].*/\2-\1/'
}
height_at_96=$(($(button_height)))

expect_eq "close" "$(probe click 2 --dialog 'Usage history')" '{"clicked":2,"done":true}'
expect_window '"dialogs":[]'
probe close >/dev/null
expect_eq "exit code" "$(kivo_exit 1)" 1

# With a data plan the periods start on its billing day and the allowance's even pace is drawn.
printf 'allowance_mb=3000\r\nbilling_day=%d\r\nwarn_percent=80\r\n' "$(date -d '-20 days' +%-d)" \
  >"$(data_file plan.ini)"
kivo
probe wait-window >/dev/null
expect_eq "history click with a plan" "$(probe click 1097)" '{"clicked":1097,"done":false}'
probe wait-window --dialog 'Usage history' >/dev/null
chart_shot 980 600 "$OUT/history-plan.png"
(($(colour_pixels "$OUT/history-plan.png" "$pace_colour") > 100)) ||
  fail "no pace line with a plan (see $OUT/history-plan.png)"
probe click 2 --dialog 'Usage history' >/dev/null
probe close >/dev/null
expect_eq "exit code with a plan" "$(kivo_exit 2)" 1
rm "$(data_file plan.ini)"

# At 144 DPI (150%) the dialog and its chart grow, and the chart is drawn as before.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
kivo
probe wait-window >/dev/null
expect_eq "history click at 144 DPI" "$(probe click 1097)" '{"clicked":1097,"done":false}'
probe wait-window --dialog 'Usage history' >/dev/null
height_at_144=$(($(button_height)))
e2e_log "Close is $height_at_96 pixels high at 96 DPI, $height_at_144 at 144 DPI"
((height_at_144 * 4 >= height_at_96 * 5)) || fail "the dialog did not grow with the DPI"
# The screen holds the dialog at its smallest size over a main window larger than the screen.
sleep 0.5
import -window root "$OUT/history-144dpi.png"
(($(colour_pixels "$OUT/history-144dpi.png" "$received_colour") > 1000)) ||
  fail "no chart at 144 DPI (see $OUT/history-144dpi.png)"
(($(colour_pixels "$OUT/history-144dpi.png" "$sent_colour") > 1000)) || fail "no sent bars at 144 DPI"
probe click 2 --dialog 'Usage history' >/dev/null
probe close >/dev/null
expect_eq "exit code at 144 DPI" "$(kivo_exit 3)" 1
