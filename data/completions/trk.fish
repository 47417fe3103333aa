# fish completion for trk, the command-line tool of Velocitra Track Analyse.
set -l commands info render car lap compare gallery

complete -c trk -f
complete -c trk -n "not __fish_seen_subcommand_from $commands" -s h -l help -d 'Show the help and exit'
complete -c trk -n "not __fish_seen_subcommand_from $commands" -s V -l version -d 'Show the version and exit'
complete -c trk -n "not __fish_seen_subcommand_from $commands" -a info -d 'List what a track holds'
complete -c trk -n "not __fish_seen_subcommand_from $commands" -a render -d "Draw a track's picture to a picture file"
complete -c trk -n "not __fish_seen_subcommand_from $commands" -a car -d 'Write a stored car out as a .car file'
complete -c trk -n "not __fish_seen_subcommand_from $commands" -a lap -d "Tell place 1's lap: speeds, sectors, frames"
complete -c trk -n "not __fish_seen_subcommand_from $commands" -a compare -d 'Compare two laps of one map'
complete -c trk -n "not __fish_seen_subcommand_from $commands" -a gallery -d 'Make a web site of tracks'

complete -c trk -n "__fish_seen_subcommand_from $commands" -s h -l help -d 'Show the help and exit'
complete -c trk -n "__fish_seen_subcommand_from $commands" -a '(__fish_complete_suffix .trk)'

complete -c trk -n '__fish_seen_subcommand_from info' -l json -d 'Print JSON (one object per track)'
complete -c trk -n '__fish_seen_subcommand_from info' -l csv -d 'Print a CSV table'
complete -c trk -n '__fish_seen_subcommand_from info render car gallery' -s r -l recursive -d 'Take the tracks in subfolders too'
complete -c trk -n '__fish_seen_subcommand_from info render car gallery' -s j -l jobs -x -d 'Tracks at a time'
complete -c trk -n '__fish_seen_subcommand_from info render car gallery' -a '(__fish_complete_directories)'

complete -c trk -n '__fish_seen_subcommand_from render' -l water -d 'Draw the water'
complete -c trk -n '__fish_seen_subcommand_from render' -l objects -d 'Draw the objects'
complete -c trk -n '__fish_seen_subcommand_from render' -l ghost -d 'Draw the ghost lap'
complete -c trk -n '__fish_seen_subcommand_from render' -l ghost-speed -d 'Draw the ghost lap coloured by speed'
complete -c trk -n '__fish_seen_subcommand_from render' -s o -l output -r -F -d 'The picture file to write'
complete -c trk -n '__fish_seen_subcommand_from render' -l quality -x -d 'JPEG quality (1-100)'
complete -c trk -n '__fish_seen_subcommand_from render' -l size -x -d 'Scale the picture to fit N x N pixels'
complete -c trk -n '__fish_seen_subcommand_from render' -s d -l directory -x -a '(__fish_complete_directories)' -d 'The folder for the pictures'
complete -c trk -n '__fish_seen_subcommand_from render' -l format -x -a 'jpg png' -d 'Picture type'

complete -c trk -n '__fish_seen_subcommand_from car' -s o -l output -r -F -d 'The car file'
complete -c trk -n '__fish_seen_subcommand_from car' -l all -d 'Write all seven cars'
complete -c trk -n '__fish_seen_subcommand_from car' -s d -l directory -x -a '(__fish_complete_directories)' -d 'The folder for --all'
complete -c trk -n '__fish_seen_subcommand_from car' -a '0 1 2 3 4 5 6' -d 'Stored car'

complete -c trk -n '__fish_seen_subcommand_from lap' -l json -d 'Print one JSON object'
complete -c trk -n '__fish_seen_subcommand_from lap compare' -l csv -d 'Print a CSV table'
complete -c trk -n '__fish_seen_subcommand_from compare' -s o -l output -r -F -d 'The chart file (.png, .svg, .pdf)'

complete -c trk -n '__fish_seen_subcommand_from gallery' -s o -l output -x -a '(__fish_complete_directories)' -d 'The site folder'
complete -c trk -n '__fish_seen_subcommand_from gallery' -l title -x -d 'The index page title'
