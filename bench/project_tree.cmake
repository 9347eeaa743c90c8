# The project window over a project file of many elements; links the application whole so every
# persistent class can be read back.
orvex_link_whole(bench_${_n} orvex_app_ui orvex_uff)
