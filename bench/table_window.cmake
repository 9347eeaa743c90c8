# The TAL data window over large spectrum maps; links the windows and the application whole so every
# persistent class is there.
orvex_link_whole(bench_${_n} orvex_app_ui orvex_uff)
