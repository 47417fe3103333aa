# Sourced by the bench scripts: demo_tracks BUILD COUNT makes COUNT demo
# tracks by trackgen into /tmp once (making 1,000 takes minutes), keeps them
# there for later runs, and prints their folder.
demo_tracks() {
  local build=$1 count=$2 i
  local tracks=/tmp/ta-bench-tracks-$count
  if [ ! -f "$tracks/.complete" ]; then
    mkdir -p "$tracks"
    for i in $(seq 1 "$count"); do
      "$build/trackgen" --seed "$i" --name "demo$i" -o "$tracks/demo$i.trk" 2>/dev/null
    done
    touch "$tracks/.complete"
  fi
  echo "$tracks"
}
